// The run shared by the programs: the autopilot, the state log, screenshots and the end
// of the run, around the game's own entry.
#include "run/program_run.h"
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/run_policy.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/png_writer.h"
#include "platform/resources.h"
#include "platform/scripted_backend.h"
#include "platform/window.h"
#include "run/autopilot.h"
#include "run/state_log.h"

std::function<void(const PassInfo&)> OnPassEnd;

volatile std::sig_atomic_t RunStopSignal = 0;

namespace {
// Whether the last run was ended by the harness (its passes or time run out, a signal, an
// output that failed) rather than by the game or the loop's watcher.
bool cutShort = false;

}  // namespace

bool RunCutShort() { return cutShort; }

int RunProgram(const CommandLine& cl, const LoopHooks& extra, ScriptedBackend* headless, SoundRecorder* sound) {
    cutShort = false;
    ResetMessageQueue();
    ResetKeyStates();
    ResetWindowState();

    FILE* log = nullptr;
    if (!cl.stateLog.empty()) {
        log = std::fopen(cl.stateLog.c_str(), "w");
        if (!log) {
            std::fprintf(stderr, "glimmo: cannot write the state log %s: %s\n", cl.stateLog.c_str(),
                         std::strerror(errno));
            return 2;
        }
    }
    if (cl.autopilotSeed) EnableAutopilot(*cl.autopilotSeed);
    else DisableAutopilot();
    // A demo's score is never kept as the player's best.
    CurrentRunPolicy().mayKeepBestScore = !cl.autopilotSeed;
    // A window with a desktop's manners asks what Escape means now; the headless backend never does.
    SetPlayStateSource(GamePlayState);
    PauseWhenPlayable = 0;
    VolumeKeyActed = 0;

    uint32_t start = GetTickCount();
    uint64_t passes = 0;
    // The first output that could not be written ends the run with this line.
    std::string failure;
    auto fail = [&](const char* what, const std::string& path, int error) {
        if (failure.empty())
            failure = std::string("could not write ") + what + " " + path + ": " + std::strerror(error);
    };
    // Headless, frames are copied out only around a pass whose screenshot is asked for:
    // that pass and the one before, as a pass that draws nothing (the one after a
    // cleared level or a scene) shows the frame of the pass before it.
    auto keepFrameOf = [&](uint64_t pass) {
        if (!headless) return;
        bool wanted = false;
        for (const ScreenshotRequest& s : cl.screenshots) wanted = wanted || s.pass == pass || s.pass == pass + 1;
        headless->KeepFrames(wanted);
    };
    keepFrameOf(1);
    LoopHooks& hooks = CurrentLoopHooks();
    hooks = LoopHooks{};
    hooks.beforeMessage = [&extra, autopilot = cl.autopilotSeed.has_value()] {
        if (extra.beforeMessage) extra.beforeMessage();
        if (autopilot) AutopilotPass();
    };
    hooks.afterFrame = [&](const MSG& msg, uint32_t tick, FrameKind kind) {
        ++passes;
        if (OnPassEnd) OnPassEnd(PassInfo{passes, tick, &msg, kind});
        if (log && std::fputs(StateLine(passes, tick, msg, kind).c_str(), log) == EOF)
            fail("the state log", cl.stateLog, errno);
        for (const ScreenshotRequest& s : cl.screenshots) {
            if (s.pass != passes) continue;
            const void* frame = CurrentBackend().LastFrame();
            errno = 0;
            if (!frame || !WriteFramePng(s.path, frame, CurrentBackend().DisplayProperties()))
                fail("the screenshot", s.path, frame && errno ? errno : EIO);
        }
        keepFrameOf(passes + 1);
        if (int error = sound ? sound->Error() : 0) fail("the audio", cl.audioOut, error);
        auto cut = [] {  // the harness ends the loop
            cutShort = true;
            return false;
        };
        if (!failure.empty() || RunStopSignal) return cut();
        if (extra.afterFrame && !extra.afterFrame(msg, tick, kind)) return false;
        if (cl.frames && passes >= *cl.frames) return cut();
        if (cl.untilTick && GetTickCount() - start >= *cl.untilTick) return cut();
        return true;
    };

    ConstructGlobalObjects();
    int code = GameEntry(ProgramInstance(), nullptr, L"", SW_SHOW);
    DestroyGlobalObjects();
    hooks = LoopHooks{};
    if (log && (std::fclose(log) != 0)) fail("the state log", cl.stateLog, errno);
    if (!failure.empty()) {
        std::fprintf(stderr, "glimmo: %s\n", failure.c_str());
        return 1;
    }
    return code;
}
