// Reading and writing the replay file.
#include "app/replay_file.h"
#include <cctype>

namespace {

constexpr const char* FormatName = "glimmo-replay";

// A whole decimal number within lo..hi, with a sign only when lo is below zero.
bool Number(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
    size_t i = 0;
    bool negative = false;
    if (lo < 0 && i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == s.size() || s.size() - i > 19) return false;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + uint64_t(s[i] - '0');
    }
    if (v > uint64_t(INT64_MAX)) return false;
    int64_t n = negative ? -int64_t(v) : int64_t(v);
    if (n < lo || n > hi) return false;
    out = n;
    return true;
}

// The words of a line, split at white space (space, tab, vertical tab, form feed, CR).
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> w;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        size_t end = at;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
        if (end > at) w.push_back(line.substr(at, end - at));
        at = end;
    }
    return w;
}

class Reader {
public:
    Reader(const std::string& version, Replay& out, ReplayProblem& problem)
        : version_(version), out_(out), problem_(problem) {}

    bool Read(const std::string& text) {
        out_ = Replay{};
        int number = 0;
        size_t at = 0;
        while (at < text.size()) {
            ++number;
            size_t end = text.find('\n', at);
            if (end == std::string::npos) return Fail(number, "the file is cut short in the middle of this line");
            std::string line = text.substr(at, end - at);
            at = end + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!Line(number, line)) return false;
        }
        if (number < 2 && !sawFormat_) return Fail(1, "not a glimmo replay (the file is empty)");
        if (!ended_) return Fail(number, "the file ends before its end line: it was cut short");
        return true;
    }

private:
    bool Fail(int line, const std::string& what) {
        problem_ = ReplayProblem{line, what};
        return false;
    }

    bool Line(int n, const std::string& line) {
        // The first two lines say what the file is; nothing may stand before them.
        if (!sawFormat_) {
            std::vector<std::string> w = Words(line);
            if (w.size() != 2 || w[0] != FormatName) return Fail(n, "not a glimmo replay");
            int64_t format = 0;
            if (!Number(w[1], 0, INT32_MAX, format)) return Fail(n, "not a glimmo replay");
            if (format != ReplayFormatVersion)
                return Fail(
                    n, "replay format " + w[1] + "; this glimmo reads format " + std::to_string(ReplayFormatVersion));
            sawFormat_ = true;
            return true;
        }
        if (!sawVersion_) {
            std::vector<std::string> w = Words(line);
            if (w.size() != 2 || w[0] != "version") return Fail(n, "the second line must be 'version X.Y.Z'");
            if (w[1] != version_) return Fail(n, "recorded by glimmo " + w[1] + "; this is glimmo " + version_);
            out_.version = w[1];
            sawVersion_ = true;
            return true;
        }
        // Blank lines (any white space, as the words are split) and comments say nothing.
        std::vector<std::string> w = Words(line);
        if (w.empty() || w[0][0] == '#') return true;
        if (ended_) return Fail(n, "goes on past the end line");
        if (w[0][0] >= '0' && w[0][0] <= '9') return Entry(n, w);
        if (w[0] == "end") return End(n, w);
        if (inBody_) return Fail(n, "'" + w[0] + "' is not a line of the game's passes");
        return Header(n, w);
    }

    bool Header(int n, const std::vector<std::string>& w) {
        int64_t a = 0, b = 0, c = 0;
        const std::string& what = w[0];
        if (what == "start") {
            if (sawStart_) return Fail(n, "a second start line");
            if (w.size() != 2 || !Number(w[1], 0, UINT32_MAX, a))
                return Fail(n, "start takes the first tick, 0 to 4294967295");
            out_.startTick = uint32_t(a);
            sawStart_ = true;
        } else if (what == "timer") {
            if (out_.queue.timerActive) return Fail(n, "a second timer line");
            if (w.size() != 4 || !Number(w[1], 0, UINT32_MAX, a) || !Number(w[2], 1, UINT32_MAX, b) ||
                !Number(w[3], 0, UINT32_MAX, c))
                return Fail(n, "timer takes its id, its period and the tick it is next due");
            out_.queue.timerActive = true;
            out_.queue.timerId = UINT(a);
            out_.queue.timerPeriod = uint32_t(b);
            out_.queue.timerNextDue = uint32_t(c);
        } else if (what == "key") {
            if (w.size() < 3 || w.size() > 4 || !Number(w[1], 0, 255, a))
                return Fail(n, "key takes a virtual key, 0 to 255, and 'down', 'pressed' or both");
            uint8_t bits = 0;
            for (size_t i = 2; i < w.size(); ++i) {
                uint8_t bit = w[i] == "down" ? KeyDownBit : w[i] == "pressed" ? KeyPressedBit : 0;
                if (!bit || (bits & bit)) return Fail(n, "key states are 'down', 'pressed' or both");
                bits |= bit;
            }
            if (out_.keys[size_t(a)]) return Fail(n, "a second line for key " + w[1]);
            out_.keys[size_t(a)] = bits;
        } else if (what == "queue") {
            if (w.size() != 4 || !Number(w[1], 0, UINT32_MAX, a) || !Number(w[2], 0, INT64_MAX, b) ||
                !Number(w[3], INT64_MIN + 1, INT64_MAX, c))
                return Fail(n, "queue takes a message, its wParam and its lParam");
            out_.queue.messages.push_back(MSG{nullptr, UINT(a), WPARAM(b), LPARAM(c), 0});
        } else if (what == "quit") {
            if (out_.queue.quitPending) return Fail(n, "a second quit line");
            if (w.size() != 2 || !Number(w[1], INT32_MIN, INT32_MAX, a)) return Fail(n, "quit takes the exit code");
            out_.queue.quitPending = true;
            out_.queue.quitCode = int(a);
        } else if (what == "world") {
            if (w.size() != 3 || !Number(w[2], INT64_MIN + 1, INT64_MAX, a))
                return Fail(n, "world takes a name and a number");
            int index = WorldIndex(w[1]);
            if (index < 0) return Fail(n, "the game has no value named '" + w[1] + "'");
            if (!WorldValueFits(index, a)) return Fail(n, w[1] + " cannot hold " + w[2]);
            if (worldSeen_[size_t(index)]) return Fail(n, "a second value for " + w[1]);
            worldSeen_[size_t(index)] = true;
            ++worldCount_;
            out_.world.emplace_back(w[1], a);
        } else {
            return Fail(n, "'" + what + "' is not a line of a replay");
        }
        return true;
    }

    // The header is whole before the first pass: the clock's start and every value of the game.
    bool HeaderDone(int n) {
        if (inBody_) return true;
        if (!sawStart_) return Fail(n, "the header has no start line");
        if (worldCount_ != WorldSize())
            return Fail(n, "the header holds " + std::to_string(worldCount_) + " of the game's " +
                               std::to_string(WorldSize()) + " values");
        inBody_ = true;
        return true;
    }

    bool Entry(int n, const std::vector<std::string>& w) {
        if (!HeaderDone(n)) return false;
        size_t dot = w[0].find('.');
        int64_t pass = 0, call = 0, time = 0;
        if (dot == std::string::npos || !Number(w[0].substr(0, dot), 1, int64_t(1) << 40, pass) ||
            !Number(w[0].substr(dot + 1), 1, UINT32_MAX, call))
            return Fail(n, "'" + w[0] + "' is not PASS.CALL");
        if (w.size() < 2 || !Number(w[1], 0, UINT32_MAX, time)) return Fail(n, "a pass's line needs the time in ms");
        JournalEntry e{uint64_t(pass), uint32_t(call), out_.startTick + uint32_t(time), {}, n};
        if (!out_.journal.empty()) {
            const JournalEntry& last = out_.journal.back();
            if (e.pass < last.pass || (e.pass == last.pass && e.call <= last.call))
                return Fail(n, w[0] + " comes after " + std::to_string(last.pass) + "." + std::to_string(last.call));
        }
        for (size_t i = 2; i < w.size();) {
            int64_t a = 0, b = 0, c = 0;
            const std::string& verb = w[i];
            if ((verb == "down" || verb == "up") && i + 1 < w.size() && Number(w[i + 1], 0, 255, a)) {
                e.events.push_back(JournalEvent{verb == "down" ? WM_KEYDOWN : WM_KEYUP, WPARAM(a), 0});
                i += 2;
            } else if (verb == "deactivate") {
                e.events.push_back(JournalEvent{WM_ACTIVATE, WA_INACTIVE, 0});
                i += 1;
            } else if (verb == "post" && i + 3 < w.size() && Number(w[i + 1], 0, UINT32_MAX, a) &&
                       Number(w[i + 2], 0, INT64_MAX, b) && Number(w[i + 3], INT64_MIN + 1, INT64_MAX, c)) {
                e.events.push_back(JournalEvent{UINT(a), WPARAM(b), LPARAM(c)});
                i += 4;
            } else {
                return Fail(n, "'" + verb + "' is not an event (down KEY, up KEY, deactivate, post MSG W L)");
            }
        }
        out_.journal.push_back(std::move(e));
        return true;
    }

    bool End(int n, const std::vector<std::string>& w) {
        if (!HeaderDone(n)) return false;
        int64_t passes = 0, score = 0;
        if (w.size() != 3 || !Number(w[1], 1, int64_t(1) << 40, passes) || !Number(w[2], INT32_MIN, INT32_MAX, score))
            return Fail(n, "end takes the number of passes and the final score");
        for (const JournalEntry& e : out_.journal)
            if (e.pass > uint64_t(passes))
                return Fail(e.line, "goes on past the end of its game: pass " + std::to_string(e.pass) +
                                        ", and the game ended with pass " + std::to_string(passes));
        out_.passes = uint64_t(passes);
        out_.score = int32_t(score);
        out_.endLine = n;
        ended_ = true;
        return true;
    }

    const std::string& version_;
    Replay& out_;
    ReplayProblem& problem_;
    bool sawFormat_ = false, sawVersion_ = false, sawStart_ = false, inBody_ = false, ended_ = false;
    std::vector<bool> worldSeen_ = std::vector<bool>(WorldSize());
    size_t worldCount_ = 0;
};

void AppendEvent(std::string& line, const JournalEvent& e) {
    if ((e.message == WM_KEYDOWN || e.message == WM_KEYUP) && e.wParam <= 255 && e.lParam == 0)
        line += (e.message == WM_KEYDOWN ? " down " : " up ") + std::to_string(e.wParam);
    else if (e.message == WM_ACTIVATE && e.wParam == WA_INACTIVE && e.lParam == 0) line += " deactivate";
    else
        line += " post " + std::to_string(e.message) + " " + std::to_string(e.wParam) + " " +
                std::to_string(int64_t(e.lParam));
}

}  // namespace

bool ParseReplay(const std::string& text, const std::string& programVersion, Replay& out, ReplayProblem& problem) {
    return Reader(programVersion, out, problem).Read(text);
}

std::string FormatReplay(const Replay& r) {
    std::string s = std::string(FormatName) + " " + std::to_string(ReplayFormatVersion) + "\n";
    s += "version " + r.version + "\n";
    s += "# One game of glimmo; watch it with: glimmo --replay FILE\n";
    s += "start " + std::to_string(r.startTick) + "\n";
    const QueueState& q = r.queue;
    if (q.timerActive)
        s += "timer " + std::to_string(q.timerId) + " " + std::to_string(q.timerPeriod) + " " +
             std::to_string(q.timerNextDue) + "\n";
    for (size_t vk = 0; vk < r.keys.size(); ++vk) {
        if (!r.keys[vk]) continue;
        s += "key " + std::to_string(vk);
        if (r.keys[vk] & KeyDownBit) s += " down";
        if (r.keys[vk] & KeyPressedBit) s += " pressed";
        s += "\n";
    }
    for (const MSG& m : q.messages)
        s += "queue " + std::to_string(m.message) + " " + std::to_string(m.wParam) + " " +
             std::to_string(int64_t(m.lParam)) + "\n";
    if (q.quitPending) s += "quit " + std::to_string(q.quitCode) + "\n";
    for (const auto& [name, value] : r.world) s += "world " + name + " " + std::to_string(value) + "\n";
    s += "# PASS.CALL TIME EVENTS: what a call of the pass brought, TIME in ms after the start\n";
    for (const JournalEntry& e : r.journal) {
        std::string line = std::to_string(e.pass) + "." + std::to_string(e.call) + " " +
                           std::to_string(uint32_t(e.tick - r.startTick));
        for (const JournalEvent& ev : e.events) AppendEvent(line, ev);
        s += line + "\n";
    }
    s += "end " + std::to_string(r.passes) + " " + std::to_string(r.score) + "\n";
    return s;
}
