// The check of a replay: the replay played headless with nothing behind it that takes
// time of its own. Behind the replay stands a backend that shows nothing and a sound
// device that plays nothing, never asked to let their time pass, so no sound is mixed
// after the first blocks; no picture is composed. What is left is the game itself, which
// goes exactly as it does with pictures and sound.
#include "run/verify.h"
#include <cstdio>
#include <mutex>
#include "game/score.h"
#include "gfx/surface.h"
#include "platform/input_file.h"
#include "run/replay/replay_backend.h"
#include "run/replay/unwatched.h"
#include "run/replays.h"

namespace {

std::mutex checking;

// How often (in passes) the clock of a check with a time limit is read.
constexpr uint64_t PassesBetweenLooks = 256;

// No picture is composed while it lives.
class WithoutPictures {
public:
    WithoutPictures() { ComposePictures(false); }
    ~WithoutPictures() { ComposePictures(true); }
    WithoutPictures(const WithoutPictures&) = delete;
    WithoutPictures& operator=(const WithoutPictures&) = delete;
};

const char* VerdictName(Verdict v) {
    switch (v) {
        case Verdict::Holds: return "holds";
        case Verdict::DoesNotHold: return "does-not-hold";
        case Verdict::NotAReplay: return "not-a-replay";
        case Verdict::OtherGameVersion: return "other-game-version";
        case Verdict::TooLong: return "too-long";
    }
    return "not-a-replay";
}

// A JSON string of any bytes: what is not printable ASCII is escaped, so the line is
// valid whatever a file put into the reason.
std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            static const char Hex[] = "0123456789abcdef";
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

}  // namespace

VerifyResult VerifyReplay(std::string text, const VerifyLimits& limits) {
    std::lock_guard<std::mutex> one(checking);
    VerifyResult result;
    Replay replay;
    ReplayProblem problem;
    const bool read = ReadReplay(std::move(text), replay, problem);
    result.gameVersion = replay.gameVersion;
    result.demo = replay.demo;
    if (!read) {
        result.verdict = problem.otherGameVersion ? Verdict::OtherGameVersion : Verdict::NotAReplay;
        result.why = "replay line " + std::to_string(problem.line) + ": " + problem.what;
        return result;
    }

    CommandLine cl;
    cl.headless = true;
    UnseenBackend behind;
    UnheardWaveOut silence;
    WaveOutBackend* const device = CurrentWaveOutBackend();
    SetWaveOutBackend(&silence);
    ReplayBackend playback(behind, replay.startTick, OpenJournal(replay));
    playback.LeaveBehindStill();
    const auto deadline = std::chrono::steady_clock::now() + limits.timeLimit;
    uint64_t asked = 0;
    auto goOn = [&] {
        return limits.timeLimit.count() <= 0 || ++asked % PassesBetweenLooks != 0 ||
               std::chrono::steady_clock::now() < deadline;
    };
    ReplayPlayed played;
    {
        WithoutPictures quick;
        played = PlayReplay(cl, replay, playback, nullptr, goOn);
    }
    SetBackend(nullptr);
    SetWaveOutBackend(device);

    result.score = Score;
    result.level = Level;
    result.passes = played.passes;
    result.gameMs = played.gameMs;
    result.playedToEnd = played.playedToEnd;
    if (played.playedToEnd && played.fault.empty()) {
        result.verdict = Verdict::Holds;
    } else if (played.stopped) {
        result.verdict = Verdict::TooLong;
        result.why = "stopped at pass " + std::to_string(played.passes) + " of " + std::to_string(replay.passes) +
                     ": the check took more than " + std::to_string(limits.timeLimit.count()) + " ms";
    } else {
        result.verdict = Verdict::DoesNotHold;
        result.why = played.fault.empty() ? "the check stopped at pass " + std::to_string(played.passes)
                                          : "replay line " + std::to_string(played.faultLine) + ": " + played.fault;
    }
    return result;
}

std::string VerifyJson(const VerifyResult& r) {
    return std::string("{\"verdict\":\"") + VerdictName(r.verdict) + "\",\"score\":" + std::to_string(r.score) +
           ",\"level\":" + std::to_string(r.level) + ",\"passes\":" + std::to_string(r.passes) +
           ",\"gameMs\":" + std::to_string(r.gameMs) + ",\"gameVersion\":" + std::to_string(r.gameVersion) +
           ",\"demo\":" + (r.demo ? "true" : "false") + ",\"playedToEnd\":" + (r.playedToEnd ? "true" : "false") +
           ",\"why\":" + JsonString(r.why) + "}";
}

int VerifyExitCode(const VerifyResult& r) {
    switch (r.verdict) {
        case Verdict::Holds: return 0;
        case Verdict::DoesNotHold: return VerifyDoesNotHoldCode;
        case Verdict::NotAReplay: return 2;
        case Verdict::OtherGameVersion: return VerifyOtherGameVersionCode;
        case Verdict::TooLong: return VerifyTooLongCode;
    }
    return 2;
}

int VerifyFile(const std::string& path) {
    VerifyResult result;
    std::string text;
    const std::string name = path == "-" ? "/dev/stdin" : path;
    if (std::string why = ReadInputFile(name, LargestReplay, false, text); !why.empty())
        result.why = "cannot read " + (path == "-" ? std::string("the standard input") : path) + ": " + why;
    else result = VerifyReplay(std::move(text));
    std::printf("%s\n", VerifyJson(result).c_str());
    return VerifyExitCode(result);
}
