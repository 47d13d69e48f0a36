// The board's page and JSON. Every name goes through EscapeHtml on its way to the page.
#include "hall/board_page.h"
#include <cstdio>
#include "hall/names.h"

namespace {
// A game's time as minutes and seconds.
std::string Clock(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu", (unsigned long long)(ms / 60000),
                  (unsigned long long)(ms / 1000 % 60));
    return text;
}

constexpr const char* PageHead = R"(<!doctype html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Glimmo: hall of fame</title>
<style>
body { background: #000; color: #dedede; font: 16px/1.4 monospace; margin: 2em auto; max-width: 52em; padding: 0 1em; }
h1 { color: #ffff00; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.2em 0.6em; text-align: right; }
th { color: #00ffde; border-bottom: 1px solid #2121de; }
th.name, td.name { text-align: left; }
td.name { color: #ffff00; }
a { color: #ffbdde; }
p.note { color: #a0a0a0; }
</style></head><body>
<h1>Hall of fame</h1>
<p class="note">Every game here was played again by the hall before it was listed.</p>
)";
}  // namespace

std::string WatchLink(int64_t id) { return "/watch/" + std::to_string(id); }
std::string ReplayLink(int64_t id) { return "/replays/" + std::to_string(id) + ".replay"; }

nlohmann::json EntryJson(const GameEntry& e, int64_t place) {
    return {{"place", place},
            {"id", e.id},
            {"name", e.name},
            {"score", e.score},
            {"level", e.level},
            {"game_ms", e.gameMs},
            {"passes", e.passes},
            {"game_version", e.gameVersion},
            {"submitted", e.submitted},
            {"watch", WatchLink(e.id)},
            {"replay", ReplayLink(e.id)}};
}

nlohmann::json BoardJson(const std::vector<GameEntry>& board, int64_t firstPlace) {
    nlohmann::json games = nlohmann::json::array();
    for (size_t i = 0; i < board.size(); ++i) games.push_back(EntryJson(board[i], firstPlace + int64_t(i)));
    return {{"games", games}};
}

std::string BoardHtml(const std::vector<GameEntry>& board, int64_t firstPlace) {
    std::string page = PageHead;
    if (board.empty()) {
        page += "<p>No games yet. Send one with <code>glimmo --submit best --hall ADDRESS --name NAME</code>.</p>\n";
    } else {
        page +=
            "<table>\n<tr><th>#</th><th class=\"name\">name</th><th>score</th><th>level</th><th>time</th>"
            "<th>date</th><th></th><th></th></tr>\n";
        for (size_t i = 0; i < board.size(); ++i) {
            const GameEntry& e = board[i];
            page += "<tr><td>" + std::to_string(firstPlace + int64_t(i)) + "</td><td class=\"name\">" +
                    EscapeHtml(e.name) + "</td><td>" + std::to_string(e.score) + "</td><td>" + std::to_string(e.level) +
                    "</td><td>" + Clock(e.gameMs) + "</td><td>" + EscapeHtml(e.submitted.substr(0, 10)) +
                    "</td><td><a href=\"" + WatchLink(e.id) + "\">watch</a></td><td><a href=\"" + ReplayLink(e.id) +
                    "\" download>replay</a></td></tr>\n";
        }
        page += "</table>\n";
    }
    page +=
        "<p class=\"note\">Send a game: <code>glimmo --submit best --hall ADDRESS --name NAME</code>. "
        "The board as JSON: <a href=\"/api/board\">/api/board</a>.</p>\n</body></html>\n";
    return page;
}
