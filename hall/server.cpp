// The routes of the hall, on cpp-httplib's server: a fixed pool of threads whose queue,
// once full, is worked by the accepting thread itself, so a flood waits in the kernel's
// backlog rather than in memory.
#include "hall/server.h"
#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>
#include <cstdio>
#include <deque>
#include <thread>
#include "hall/board_cache.h"
#include "hall/board_page.h"
#include "hall/check_pool.h"
#include "hall/names.h"
#include "hall/rate_limit.h"
#include "hall/store.h"

namespace {
// How many connections may wait for a thread before the accepting thread answers one.
constexpr size_t WaitingConnections = 256;
// The most games a page of the board shows.
constexpr int LargestPage = 500;

class BoundedPool : public httplib::TaskQueue {
public:
    explicit BoundedPool(size_t threads) {
        for (size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
    }
    void enqueue(std::function<void()> fn) override {
        {
            std::unique_lock lock(mutex_);
            if (jobs_.size() < WaitingConnections) {
                jobs_.push_back(std::move(fn));
                cond_.notify_one();
                return;
            }
        }
        fn();
    }
    void shutdown() override {
        {
            std::lock_guard lock(mutex_);
            shutdown_ = true;
        }
        cond_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

private:
    void Work() {
        for (;;) {
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                cond_.wait(lock, [&] { return shutdown_ || !jobs_.empty(); });
                if (jobs_.empty()) return;
                fn = std::move(jobs_.front());
                jobs_.pop_front();
            }
            fn();
        }
    }
    std::vector<std::thread> threads_;
    std::deque<std::function<void()>> jobs_;
    std::mutex mutex_;
    std::condition_variable cond_;
    bool shutdown_ = false;
};

void Answer(httplib::Response& res, int status, const nlohmann::json& body) {
    res.status = status;
    res.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n", "application/json");
}

void Refuse(httplib::Response& res, int status, const std::string& reason, const std::string& why = "") {
    nlohmann::json body = {{"status", "refused"}, {"reason", reason}};
    if (!why.empty()) body["why"] = why;
    Answer(res, status, body);
}

void TryAgain(httplib::Response& res) {
    res.set_header("Retry-After", "2");
    Answer(res, 503, {{"status", "try again"}, {"reason", "the hall's database cannot be reached just now"}});
}

int Param(const httplib::Request& req, const char* name, int fallback, int lo, int hi) {
    if (!req.has_param(name)) return fallback;
    const std::string v = req.get_param_value(name);
    if (v.empty() || v.size() > 9 || v.find_first_not_of("0123456789") != std::string::npos) return fallback;
    return std::clamp(std::stoi(v), lo, hi);
}

// The id in /replays/ID.replay or /watch/ID; 0 when there is none.
int64_t IdOf(const std::string& text) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoll(text);
}

void Submit(const HallOptions& options, Store& store, CheckPool& checks, RateLimit& rate, BoardCache& boardCache,
            const httplib::Request& req, const httplib::ContentReader& reader, httplib::Response& res) {
    if (!rate.Allow(req.remote_addr, std::chrono::steady_clock::now()))
        return Refuse(
            res, 429,
            "too many submissions from this address: at most " + std::to_string(options.perMinute) + " a minute");
    // The body is read here, and no further than the limit: an endless one costs the limit.
    std::string body;
    bool tooLarge = false;
    const bool whole = reader([&](const char* data, size_t size) {
        tooLarge = body.size() + size > options.maxBytes;
        if (!tooLarge) body.append(data, size);
        return !tooLarge;
    });
    // A length declared past the limit is refused before a byte of the body is read.
    tooLarge = tooLarge || req.get_header_value<uint64_t>("Content-Length") > options.maxBytes;
    if (!whole || tooLarge) {
        res.set_header("Connection", "close");
        if (tooLarge)
            return Refuse(res, 413, "the replay is larger than " + std::to_string(options.maxBytes) + " bytes");
        return Refuse(res, 400, "the replay was cut short");
    }
    const std::string name = req.has_param("name") ? req.get_param_value("name") : req.get_header_value("X-Name");
    if (std::string why = WhyNotAName(name); !why.empty()) return Refuse(res, 400, why);
    if (!IsText(body)) return Refuse(res, 422, "not a replay", "a replay is text");

    std::chrono::microseconds took{0};
    const VerifyResult r = checks.Check(body, std::chrono::milliseconds(options.checkMs), &took);
    switch (r.verdict) {
        case Verdict::Holds: break;
        case Verdict::DoesNotHold: return Refuse(res, 422, "the replay does not hold what it claims", r.why);
        case Verdict::NotAReplay: return Refuse(res, 422, "not a replay", r.why);
        case Verdict::OtherGameVersion: return Refuse(res, 422, "another game version", r.why);
        case Verdict::TooLong: return Refuse(res, 422, "the check ran past its time limit", r.why);
    }
    if (r.demo) return Refuse(res, 422, "a demo: the built-in player's games are not players' scores");
    if (!r.playedToEnd)
        return Refuse(res, 422, "the replay does not hold what it claims", "it was not played to its end");

    NewGame game;
    game.entry.name = name;
    game.entry.score = r.score;
    game.entry.level = r.level;
    game.entry.gameMs = r.gameMs;
    game.entry.passes = r.passes;
    game.entry.gameVersion = r.gameVersion;
    game.replay = std::move(body);
    try {
        const KeptGame kept = store.Keep(game);
        if (!kept.already) boardCache.Changed();
        nlohmann::json answer = EntryJson(kept.entry, kept.place);
        answer["status"] = kept.already ? "already kept" : "kept";
        answer["games"] = kept.games;
        answer["check_ms"] = double(took.count()) / 1000;
        Answer(res, kept.already ? 200 : 201, answer);
    } catch (const StoreUnavailable&) {
        TryAgain(res);
    }
}
}  // namespace

int RunHallServer(const HallOptions& options, Store& store, CheckPool& checks) {
    // Broken connections are answered by errors, not by the signal.
    signal(SIGPIPE, SIG_IGN);
    // SIGINT and SIGTERM are waited for by one thread, which stops the server; every other
    // thread, made after this, has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    httplib::Server server;
    RateLimit rate(options.perMinute);
    BoardCache boardCache(std::chrono::milliseconds(1000));
    server.new_task_queue = [&] { return new BoundedPool(size_t(options.threads)); };
    // A slow sender has five seconds for each read; a body past the limit is not read.
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    // A reader keeps its connection for a hundred requests (the library's five would have
    // it connect again every few pages), and for two seconds between them.
    server.set_keep_alive_max_count(100);
    server.set_keep_alive_timeout(2);
    // A page goes out in several segments: without this, the last waits for the reader's
    // delayed acknowledgement (40 to 200 ms).
    server.set_tcp_nodelay(true);
    // The listening socket: the port is this hall's alone (no SO_REUSEPORT, so a second
    // hall on it fails to start rather than sharing it), and taken again at once after a
    // restart.
    int listening = -1;
    server.set_socket_options([&](int sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = sock;
    });
    server.set_payload_max_length(options.maxBytes);
    server.set_error_handler([&](const httplib::Request&, httplib::Response& res) {
        if (res.status == 413)
            Refuse(res, 413, "the replay is larger than " + std::to_string(options.maxBytes) + " bytes");
        else if (res.body.empty())
            Answer(res, res.status, {{"status", "error"}, {"reason", "HTTP " + std::to_string(res.status)}});
    });
    server.set_exception_handler([&](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "unknown";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {}
        std::fprintf(stderr, "glimmo-hall: %s\n", what.c_str());
        Answer(res, 500, {{"status", "error"}, {"reason", "the hall failed on this request"}});
    });

    server.Post("/api/submit",
                [&](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
                    Submit(options, store, checks, rate, boardCache, req, reader, res);
                });
    auto board = [&](const httplib::Request& req, httplib::Response& res, bool html) {
        const int limit = Param(req, "limit", 100, 1, LargestPage);
        const int offset = Param(req, "offset", 0, 0, 1 << 30);
        const char* type = html ? "text/html; charset=utf-8" : "application/json";
        const std::string key = std::to_string(limit) + (html ? "h" : "j") + std::to_string(offset);
        if (std::optional<std::string> body = boardCache.Find(key)) return res.set_content(*body, type);
        try {
            const uint64_t generation = boardCache.Generation();
            const std::vector<GameEntry> games = store.Board(limit, offset);
            if (html) res.set_content(BoardHtml(games, offset + 1), type);
            else Answer(res, 200, BoardJson(games, offset + 1));
            boardCache.Keep(key, res.body, generation);
        } catch (const StoreUnavailable&) {
            TryAgain(res);
        }
    };
    server.Get("/", [&](const httplib::Request& req, httplib::Response& res) { board(req, res, true); });
    server.Get("/api/board", [&](const httplib::Request& req, httplib::Response& res) { board(req, res, false); });
    server.Get(R"(/replays/(\d+)\.replay)", [&](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = IdOf(req.matches[1]);
        try {
            std::optional<std::string> text = id ? store.Replay(id) : std::nullopt;
            if (!text) return Answer(res, 404, {{"status", "error"}, {"reason", "no such game"}});
            res.set_header("Content-Disposition", "attachment; filename=\"glimmo-" + std::to_string(id) + ".replay\"");
            res.set_content(*text, "text/plain; charset=utf-8");
        } catch (const StoreUnavailable&) {
            TryAgain(res);
        }
    });
    // Watching a game: the browser build, served at /play/, told where its replay is.
    server.Get(R"(/watch/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
        const int64_t id = IdOf(req.matches[1]);
        if (options.web.empty())
            return Answer(res, 404,
                          {{"status", "error"},
                           {"reason", "this hall does not serve the browser build (glimmo-hall --web DIR)"}});
        res.set_redirect("/play/?replay=" + ReplayLink(id));
    });
    if (!options.web.empty() && !server.set_mount_point("/play", options.web)) {
        std::fprintf(stderr, "glimmo-hall: cannot serve the browser build from %s: not a folder\n",
                     options.web.c_str());
        return 2;
    }
    server.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");

    int port = options.port;
    if (port == 0) port = server.bind_to_any_port(options.listen);
    else if (!server.bind_to_port(options.listen, port)) port = -1;
    if (port <= 0) {
        std::fprintf(stderr, "glimmo-hall: cannot listen on %s port %d\n", options.listen.c_str(), options.port);
        return 1;
    }
    // cpp-httplib listens with a backlog of 5: a burst of readers connecting at once would
    // have their connections dropped, and tried again a second later.
    if (listening >= 0) listen(listening, SOMAXCONN);
    const bool v6 = options.listen.find(':') != std::string::npos;
    std::printf("glimmo-hall: the board is at http://%s%s%s:%d/ (games kept in %s, %d check workers)\n", v6 ? "[" : "",
                options.listen.c_str(), v6 ? "]" : "", port, store.Postgres() ? "PostgreSQL" : options.db.c_str(),
                checks.Size());
    std::fflush(stdout);

    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    const bool listened = server.listen_after_bind();
    // The stopper waits for a signal: one of ours ends it when the server stopped by itself.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return listened ? 0 : 1;
}
