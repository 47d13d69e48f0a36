// Reading and writing the replay file.
#include "run/replay_file.h"
#include <cctype>
#include <string_view>
#include "app/window_proc.h"
#include "game/game_version.h"

namespace {

constexpr const char* FormatName = "glimmo-replay";

// The programs that recorded replays before the file named the game version, and the game
// version they played.
struct EarlyProgram {
    const char* version;
    int gameVersion;
};
constexpr EarlyProgram EarlyPrograms[] = {{"1.0.0", 1}};

std::string ThisGame() { return "this glimmo plays game version " + std::to_string(GameVersion); }

using Words = std::vector<std::string_view>;

// A whole decimal number within lo..hi, with a sign only when lo is below zero.
bool Number(std::string_view s, int64_t lo, int64_t hi, int64_t& out) {
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

// The words of a line, split at white space (space, tab, vertical tab, form feed, CR),
// into `w`, whose room is used again from line to line.
void SplitWords(std::string_view line, Words& w) {
    w.clear();
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        size_t end = at;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
        if (end > at) w.push_back(line.substr(at, end - at));
        at = end;
    }
}

std::string Str(std::string_view v) { return std::string(v); }

// Reads a pass's line (its words `w`, at line `n`) into `e`, whose tick counts from
// `startTick`; "" when it reads, else what is wrong with it.
std::string ReadEntry(int n, const Words& w, uint32_t startTick, JournalEntry& e) {
    size_t dot = w[0].find('.');
    int64_t pass = 0, call = 0, time = 0;
    if (dot == std::string_view::npos || !Number(w[0].substr(0, dot), 1, int64_t(LargestPassCount), pass) ||
        !Number(w[0].substr(dot + 1), 1, UINT32_MAX, call))
        return "'" + Str(w[0]) + "' is not PASS.CALL";
    if (w.size() < 2 || !Number(w[1], 0, UINT32_MAX, time)) return "a pass's line needs the time in ms";
    e.pass = uint64_t(pass);
    e.call = uint32_t(call);
    e.tick = startTick + uint32_t(time);
    e.events.clear();
    e.line = n;
    for (size_t i = 2; i < w.size();) {
        int64_t a = 0, b = 0, c = 0;
        const std::string_view verb = w[i];
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
            return "'" + Str(verb) + "' is not an event (down KEY, up KEY, deactivate, post MSG W L)";
        }
    }
    return "";
}

// Goes through a text line by line: its number, and the line without its end.
class Lines {
public:
    Lines(std::string_view text, size_t at, int number) : text_(text), at_(at), number_(number) {}
    // False at the end of the text; `whole` false for a last line with no line end.
    bool Next(std::string_view& line, int& number, bool& whole) {
        if (at_ >= text_.size()) return false;
        number = ++number_;
        size_t end = text_.find('\n', at_);
        whole = end != std::string_view::npos;
        if (!whole) end = text_.size();
        line = text_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }
    size_t At() const { return at_; }
    int Number() const { return number_; }

private:
    std::string_view text_;
    size_t at_;
    int number_;
};

class Reader {
public:
    Reader(Replay& out, ReplayProblem& problem) : out_(out), problem_(problem) {}

    // Reads the whole text; the passes' lines go into the journal when `keepJournal`.
    bool Read(std::string_view text, bool keepJournal) {
        out_ = Replay{};
        keep_ = keepJournal;
        Lines lines(text, 0, 0);
        std::string_view line;
        int number = 0;
        bool whole = true;
        size_t lineStart = 0;
        while (lines.Next(line, number, whole)) {
            if (!whole) return Fail(number, "the file is cut short in the middle of this line");
            const bool wasBody = inBody_;
            if (!Line(number, line)) return false;
            if (inBody_ && !wasBody) {
                // The first line past the header: where a player of the text starts reading.
                out_.bodyAt = lineStart;
                out_.bodyLine = number - 1;
            }
            lineStart = lines.At();
        }
        if (number < 2 && !sawFormat_) return Fail(1, "not a glimmo replay (the file is empty)");
        if (!ended_) return Fail(number, "the file ends before its end line: it was cut short");
        // Lines past the game's end: the first of them is the one at fault.
        if (last_.pass > out_.passes) {
            Lines again(text, out_.bodyAt, out_.bodyLine);
            JournalEntry e;
            while (again.Next(line, number, whole)) {
                SplitWords(line, w_);
                if (w_.empty() || w_[0][0] < '0' || w_[0][0] > '9') continue;
                if (ReadEntry(number, w_, out_.startTick, e).empty() && e.pass > out_.passes)
                    return Fail(number, "goes on past the end of its game: pass " + std::to_string(e.pass) +
                                            ", and the game ended with pass " + std::to_string(out_.passes));
            }
        }
        return true;
    }

private:
    bool Fail(int line, const std::string& what) {
        problem_ = ReplayProblem{line, what};
        return false;
    }

    // The game version the replay needs, on the line after the version line; a replay of a
    // program that did not name it needs the game that program played.
    bool GameVersionLine(int n, const Words& w) {
        gameDecided_ = true;
        if (w.size() >= 1 && w[0] == "game") {
            int64_t game = 0;
            if (w.size() != 2 || !Number(w[1], 1, INT32_MAX, game))
                return Fail(n, "game takes the game version, a whole number from 1");
            out_.gameVersion = int(game);
        } else {
            for (const EarlyProgram& p : EarlyPrograms)
                if (out_.version == p.version) out_.gameVersion = p.gameVersion;
            if (!out_.gameVersion) {
                problem_ = {
                    n - 1, "recorded by glimmo " + out_.version + ", which names no game version; " + ThisGame(), true};
                return false;
            }
        }
        if (out_.gameVersion != GameVersion) {
            problem_ = {w.size() >= 1 && w[0] == "game" ? n : n - 1,
                        "needs game version " + std::to_string(out_.gameVersion) + "; " + ThisGame(), true};
            return false;
        }
        return true;
    }

    bool Line(int n, std::string_view line) {
        SplitWords(line, w_);
        const Words& w = w_;
        // The first two lines say what the file is; nothing may stand before them.
        if (!sawFormat_) {
            if (w.size() != 2 || w[0] != FormatName) return Fail(n, "not a glimmo replay");
            int64_t format = 0;
            if (!Number(w[1], 0, INT32_MAX, format)) return Fail(n, "not a glimmo replay");
            if (format != ReplayFormatVersion)
                return Fail(n, "replay format " + Str(w[1]) + "; this glimmo reads format " +
                                   std::to_string(ReplayFormatVersion));
            sawFormat_ = true;
            return true;
        }
        if (!sawVersion_) {
            if (w.size() != 2 || w[0] != "version") return Fail(n, "the second line must be 'version X.Y.Z'");
            out_.version = Str(w[1]);
            sawVersion_ = true;
            return true;
        }
        if (!gameDecided_) {
            if (!GameVersionLine(n, w)) return false;
            if (!w.empty() && w[0] == "game") return true;
        }
        // Blank lines (any white space, as the words are split) and comments say nothing.
        if (w.empty() || w[0][0] == '#') return true;
        if (ended_) return Fail(n, "goes on past the end line");
        if (w[0][0] >= '0' && w[0][0] <= '9') return Entry(n, w);
        if (w[0] == "end") return End(n, w);
        if (inBody_) return Fail(n, "'" + Str(w[0]) + "' is not a line of the game's passes");
        return Header(n, w);
    }

    bool Header(int n, const Words& w) {
        int64_t a = 0, b = 0, c = 0;
        const std::string_view what = w[0];
        if (what == "game") {
            return Fail(n, "the game version stands on the third line, after the version line");
        } else if (what == "demo") {
            if (out_.demo) return Fail(n, "a second demo line");
            if (w.size() != 1) return Fail(n, "demo takes nothing");
            out_.demo = true;
        } else if (what == "start") {
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
            if (out_.keys[size_t(a)]) return Fail(n, "a second line for key " + Str(w[1]));
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
            const std::string name = Str(w[1]);
            int index = WorldIndex(name);
            if (index < 0) return Fail(n, "the game has no value named '" + name + "'");
            if (!WorldValueFits(index, a))
                return Fail(n, name + " " + Str(w[2]) + " is beyond what a game can reach (" + WorldRange(index) + ")");
            if (worldSeen_[size_t(index)]) return Fail(n, "a second value for " + name);
            worldSeen_[size_t(index)] = true;
            out_.world.emplace_back(name, a);
        } else {
            return Fail(n, "'" + Str(what) + "' is not a line of a replay");
        }
        return true;
    }

    // The header is whole before the first pass: the clock's start and every value of the
    // game (but those that older replays lack).
    bool HeaderDone(int n) {
        if (inBody_) return true;
        if (!sawStart_) return Fail(n, "the header has no start line");
        // The window's frame timer runs from its first message to its last.
        if (!out_.queue.timerActive || out_.queue.timerPeriod != FrameTimerPeriod)
            return Fail(n, "the header has no timer line of " + std::to_string(FrameTimerPeriod) +
                               " ms: the game's frame timer always runs");
        size_t needed = 0, held = 0;
        for (size_t i = 0; i < WorldSize(); ++i) {
            if (WorldValueOptional(int(i))) continue;
            ++needed;
            held += worldSeen_[i];
        }
        if (held != needed)
            return Fail(
                n, "the header holds " + std::to_string(held) + " of the game's " + std::to_string(needed) + " values");
        inBody_ = true;
        return true;
    }

    bool Entry(int n, const Words& w) {
        if (!HeaderDone(n)) return false;
        if (std::string why = ReadEntry(n, w, out_.startTick, entry_); !why.empty()) return Fail(n, why);
        const uint32_t time = entry_.tick - out_.startTick;
        if (seenEntry_) {
            if (entry_.pass < last_.pass || (entry_.pass == last_.pass && entry_.call <= last_.call))
                return Fail(
                    n, Str(w[0]) + " comes after " + std::to_string(last_.pass) + "." + std::to_string(last_.call));
            if (time < last_.time)
                return Fail(n,
                            "the time goes back from " + std::to_string(last_.time) + " ms to " + std::to_string(time));
        }
        // Every pass sleeps at least 1 ms: pass P cannot begin before P - 1 ms.
        if (entry_.pass - 1 > time)
            return Fail(n, "pass " + std::to_string(entry_.pass) + " cannot have come by " + std::to_string(time) +
                               " ms: a pass takes at least 1 ms");
        last_ = {entry_.pass, entry_.call, time};
        seenEntry_ = true;
        if (keep_) out_.journal.push_back(entry_);
        return true;
    }

    bool End(int n, const Words& w) {
        if (!HeaderDone(n)) return false;
        int64_t passes = 0, score = 0;
        if (w.size() != 3 || !Number(w[1], 1, int64_t(LargestPassCount), passes) ||
            !Number(w[2], INT32_MIN, INT32_MAX, score))
            return Fail(n, "end takes the number of passes, 1 to " + std::to_string(LargestPassCount) +
                               ", and the final score");
        out_.passes = uint64_t(passes);
        out_.score = int32_t(score);
        out_.endLine = n;
        ended_ = true;
        return true;
    }

    struct Last {
        uint64_t pass = 0;
        uint32_t call = 0;
        uint32_t time = 0;
    };

    Replay& out_;
    ReplayProblem& problem_;
    bool keep_ = true;
    bool sawFormat_ = false, sawVersion_ = false, gameDecided_ = false, sawStart_ = false, inBody_ = false,
         ended_ = false;
    std::vector<bool> worldSeen_ = std::vector<bool>(WorldSize());
    Words w_;
    JournalEntry entry_;
    Last last_;
    bool seenEntry_ = false;
};

// The passes' lines of a replay held whole.
class HeldJournal : public JournalFeed {
public:
    explicit HeldJournal(const std::vector<JournalEntry>& journal) : journal_(journal) {}
    bool Next(JournalEntry& entry) override {
        if (next_ >= journal_.size()) return false;
        entry = journal_[next_++];
        return true;
    }

private:
    const std::vector<JournalEntry>& journal_;
    size_t next_ = 0;
};

// The passes' lines of a replay's text, read as they are asked for (the text was read
// whole once already, so every line reads).
class TextJournal : public JournalFeed {
public:
    explicit TextJournal(const Replay& replay)
        : lines_(replay.text, replay.bodyAt, replay.bodyLine), startTick_(replay.startTick) {}
    bool Next(JournalEntry& entry) override {
        std::string_view line;
        int number = 0;
        bool whole = true;
        while (lines_.Next(line, number, whole)) {
            SplitWords(line, words_);
            if (words_.empty() || words_[0][0] < '0' || words_[0][0] > '9') {
                if (!words_.empty() && words_[0] == "end") return false;
                continue;
            }
            return ReadEntry(number, words_, startTick_, entry).empty();
        }
        return false;
    }

private:
    Lines lines_;
    uint32_t startTick_;
    Words words_;
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

bool ParseReplay(const std::string& text, Replay& out, ReplayProblem& problem) {
    return Reader(out, problem).Read(text, true);
}

bool ReadReplay(std::string text, Replay& out, ReplayProblem& problem) {
    if (!Reader(out, problem).Read(text, false)) return false;
    out.text = std::move(text);
    return true;
}

std::unique_ptr<JournalFeed> OpenJournal(const Replay& replay) {
    if (replay.text.empty()) return std::make_unique<HeldJournal>(replay.journal);
    return std::make_unique<TextJournal>(replay);
}

std::string FormatReplay(const Replay& r) {
    std::string s = std::string(FormatName) + " " + std::to_string(ReplayFormatVersion) + "\n";
    s += "version " + r.version + "\n";
    s += "game " + std::to_string(r.gameVersion) + "\n";
    if (r.demo) s += "demo\n";
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
