// A stand-in for the run layer's check of a replay until it lands: reads the replay and
// plays it whole through the headless replay run, sound and all.
#include "hall/verify_stand_in.h"
#include <cstdio>
#include "game/score.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "run/replay_file.h"
#include "run/replays.h"

VerifyResult VerifyReplay(std::string text, const VerifyLimits&) {
    VerifyResult result;
    const bool named = text.rfind("glimmo-replay 1\nversion ", 0) == 0;
    std::string version = named ? text.substr(24, text.find('\n', 24) - 24) : "";
    Replay replay;
    ReplayProblem problem;
    if (!ReadReplay(std::move(text), GLIMMO_VERSION, replay, problem)) {
        result.verdict = named && version != GLIMMO_VERSION ? Verdict::OtherGameVersion : Verdict::NotAReplay;
        result.why = "line " + std::to_string(problem.line) + ": " + problem.what;
        return result;
    }
    result.gameVersion = 1;
    HeadlessBackend& backend = UseHeadlessBackend();
    UseVirtualWaveOut();
    CommandLine cl;
    cl.headless = true;
    cl.replay = "submitted";
    std::fflush(stderr);
    const int code = RunReplay(cl, replay, backend, &VirtualSoundRecorder());
    SetBackend(nullptr);
    result.score = Score;
    result.level = Level;
    result.passes = replay.passes;
    result.gameMs = backend.Ticks() - 1000000;
    result.playedToEnd = code == 0;
    result.verdict = code == 0 ? Verdict::Holds : Verdict::DoesNotHold;
    if (code != 0) result.why = "the game went another way than the one recorded";
    return result;
}
