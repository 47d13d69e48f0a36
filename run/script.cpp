// Reading the headless script.
#include "run/script.h"
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include "game/game_frame.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/win_types.h"

namespace {
// What `set` may change, and the values a game can reach: beyond them the game's own
// arithmetic would overflow.
struct SetName {
    const char* name;
    int64_t lowest, highest;
};
const SetName SetNames[] = {
    {"Level", 1, LastLevel}, {"DotsEaten", 0, EdibleCells}, {"Score", 0, ScoreWrap}, {"Lives", 0, MaxLives}};

// A tap lets go this long after it presses.
constexpr uint32_t TapLength = 30;

bool ParseInt(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno || *end || v < lo || v > hi) return false;
    out = v;
    return true;
}
}  // namespace

int ScriptKey(const std::string& n) {
    if (n == "RETURN") return VK_RETURN;
    if (n == "ESCAPE") return VK_ESCAPE;
    if (n == "F10") return VK_F10;
    if (n == "F6") return VK_F6;
    if (n == "F7") return VK_F7;
    if (n == "UP") return VK_UP;
    if (n == "DOWN") return VK_DOWN;
    if (n == "LEFT") return VK_LEFT;
    if (n == "RIGHT") return VK_RIGHT;
    if (n == "2" || n == "4" || n == "6" || n == "8") return n[0];
    return -1;
}

bool ParseScript(const std::string& text, uint32_t startTick, std::vector<ScriptEvent>& events, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "script line " + std::to_string(number) + ": " + why;
            return false;
        };
        int64_t tick = 0;
        if (!ParseInt(w[0], 0, INT64_MAX, tick)) return fail("'" + w[0] + "' is not a tick");
        if (w.size() < 2) return fail("a verb is missing");
        const std::string& verb = w[1];
        const std::string reach = ", past the last tick a script can reach, " + std::to_string(LastScriptTick);
        if (tick > LastScriptTick) return fail("tick " + w[0] + reach);
        if (verb == "tap" && tick + TapLength > LastScriptTick)
            return fail("a tap at " + w[0] + " lets go at " + std::to_string(tick + TapLength) + reach);
        uint32_t at = startTick + uint32_t(tick);
        ScriptEvent e{at, ScriptEvent::KeyDown};
        e.line = number;
        if (verb == "down" || verb == "up" || verb == "tap") {
            if (w.size() != 3) return fail(verb + " takes one key");
            int vk = ScriptKey(w[2]);
            if (vk < 0) return fail("unknown key '" + w[2] + "'");
            e.vk = vk;
            e.kind = verb == "up" ? ScriptEvent::KeyUp : ScriptEvent::KeyDown;
            events.push_back(e);
            if (verb == "tap") {
                e.kind = ScriptEvent::KeyUp;
                e.tick = at + TapLength;
                events.push_back(e);
            }
        } else if (verb == "deactivate" || verb == "close") {
            if (w.size() != 2) return fail(verb + " takes nothing");
            e.kind = verb == "close" ? ScriptEvent::Close : ScriptEvent::Deactivate;
            events.push_back(e);
        } else if (verb == "set") {
            if (w.size() != 4) return fail("set takes a name and a value");
            const SetName* known = nullptr;
            for (const SetName& n : SetNames)
                if (w[2] == n.name) known = &n;
            if (!known) return fail("set: unknown name '" + w[2] + "' (Level, DotsEaten, Score or Lives)");
            int64_t value = 0;
            if (!ParseInt(w[3], known->lowest, known->highest, value))
                return fail("set " + w[2] + ": '" + w[3] + "' is not a number from " + std::to_string(known->lowest) +
                            " to " + std::to_string(known->highest));
            e.kind = ScriptEvent::Set;
            e.name = w[2];
            e.value = value;
            events.push_back(e);
        } else {
            return fail("unknown verb '" + verb + "'");
        }
    }
    return true;
}

std::vector<TimedEvent> TimedEvents(const std::vector<ScriptEvent>& events) {
    std::vector<TimedEvent> timed;
    timed.reserve(events.size());
    for (const ScriptEvent& e : events) {
        TimedEvent t{e.tick, TimedEvent::KeyDown, e.vk, nullptr, e.line};
        switch (e.kind) {
            case ScriptEvent::KeyDown: t.kind = TimedEvent::KeyDown; break;
            case ScriptEvent::KeyUp: t.kind = TimedEvent::KeyUp; break;
            case ScriptEvent::Deactivate: t.kind = TimedEvent::Deactivate; break;
            case ScriptEvent::Close: t.kind = TimedEvent::Close; break;
            case ScriptEvent::Set:
                t.kind = TimedEvent::Call;
                t.call = [name = e.name, v = int32_t(e.value)] {
                    if (name == "Level") Level = v;
                    else if (name == "DotsEaten") DotsEaten = v;
                    else if (name == "Score") Score = v;
                    else if (name == "Lives") Player.lives = v;
                };
                break;
        }
        timed.push_back(std::move(t));
    }
    return timed;
}
