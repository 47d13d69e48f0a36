// The client of a hall of fame: the replay posted to ADDRESS/api/submit, the answer's JSON
// told in words.
#include "run/submit.h"
#include <httplib.h>
#include <cstdio>
#include <nlohmann/json.hpp>
#include "platform/input_file.h"
#include "run/replays.h"

namespace {
// A replay file is read whole up to this; a game of an hour is a few hundred kilobytes.
constexpr size_t LargestSubmission = 64 << 20;

// "http://host:port/some/place" as the client's "http://host:port" and the path "/some/place".
void SplitAddress(const std::string& url, std::string& site, std::string& path) {
    const size_t scheme = url.find("://");
    const size_t slash = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    site = url.substr(0, slash);
    path = slash == std::string::npos ? "" : url.substr(slash);
    while (!path.empty() && path.back() == '/') path.pop_back();
}
}  // namespace

int RunSubmit(const CommandLine& cl) {
    CommandLine kept = cl;
    kept.replay = cl.submit;
    const std::string path = ReplayPathFor(kept);
    const bool ours = cl.submit == "best" || cl.submit == "last";
    std::string text;
    if (path.empty()) {
        std::fprintf(stderr, "glimmo: no %s game is kept: HOME is not set (--config-dir DIR names the folder)\n",
                     cl.submit.c_str());
        return 2;
    }
    if (std::string why = ReadInputFile(path, LargestSubmission, ours, text); !why.empty()) {
        std::fprintf(stderr, "glimmo: cannot read the replay %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }

    std::string site, prefix;
    SplitAddress(cl.hall, site, prefix);
    httplib::Client client(site);
    if (!client.is_valid()) {
        std::fprintf(stderr, "glimmo: %s is not the address of a hall (http://HOST:PORT)\n", cl.hall.c_str());
        return 2;
    }
    client.set_connection_timeout(10, 0);
    client.set_read_timeout(60, 0);
    client.set_follow_location(true);
    httplib::Result res =
        client.Post(prefix + "/api/submit?name=" + httplib::detail::encode_query_param(cl.name), text, "text/plain");
    if (!res) {
        std::fprintf(stderr, "glimmo: cannot reach the hall at %s: %s\n", cl.hall.c_str(),
                     httplib::to_string(res.error()).c_str());
        return 3;
    }
    nlohmann::json answer = nlohmann::json::parse(res->body, nullptr, false);
    if (!answer.is_object() || !answer.contains("status")) {
        std::fprintf(stderr, "glimmo: %s answered %d, not as a hall does\n", cl.hall.c_str(), res->status);
        return 3;
    }
    const std::string status = answer.value("status", "");
    const std::string reason = answer.value("reason", "");
    if (status == "kept" || status == "already kept") {
        std::printf("glimmo: %s: place %lld of %lld on the board of %s (score %d, level %d); watch it at %s%s\n",
                    status == "kept" ? "kept" : "already on the board", answer.value("place", 0LL),
                    answer.value("games", 0LL), cl.hall.c_str(), answer.value("score", 0), answer.value("level", 0),
                    (site + prefix).c_str(), answer.value("watch", "").c_str());
        return 0;
    }
    if (status == "try again") {
        std::fprintf(stderr, "glimmo: the hall at %s cannot keep games just now (%s); try again later\n",
                     cl.hall.c_str(), reason.c_str());
        return 3;
    }
    const std::string why = answer.value("why", "");
    std::fprintf(stderr, "glimmo: the hall refused the game: %s%s%s\n", reason.c_str(), why.empty() ? "" : ": ",
                 why.c_str());
    return 1;
}
