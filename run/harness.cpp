// The headless harness and the common run: settings folder, autopilot, script,
// state log, screenshots and the end of the run, around the game's own entry.
#include "run/harness.h"
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
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/input_file.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/png_writer.h"
#include "platform/registry_store.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "run/autopilot.h"
#include "run/replays.h"
#include "run/script.h"
#include "run/state_log.h"

std::function<void(const PassInfo&)> OnPassEnd;

namespace {
// The signal that asked a headless run to stop; the run ends after the pass in hand.
volatile std::sig_atomic_t stopSignal = 0;
// Whether the last run was ended by the harness (its passes or time run out, a signal, an
// output that failed) rather than by the game or the loop's watcher.
bool cutShort = false;

// While a headless run lasts, Ctrl-C, a kill and a closed terminal end it between two
// passes, so its files are whole and its temporary folder goes; a second one kills.
class StopOnSignals {
public:
    StopOnSignals() {
        stopSignal = 0;
        struct sigaction ask {};
        ask.sa_handler = [](int signal) { stopSignal = signal; };
        sigemptyset(&ask.sa_mask);
        ask.sa_flags = SA_RESETHAND;
        for (size_t i = 0; i < std::size(signals_); ++i) sigaction(signals_[i], &ask, &before_[i]);
    }
    ~StopOnSignals() {
        for (size_t i = 0; i < std::size(signals_); ++i) sigaction(signals_[i], &before_[i], nullptr);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

private:
    static constexpr int signals_[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction before_[std::size(signals_)]{};
};

void ApplySet(const ScriptEvent& e) {
    int32_t v = int32_t(e.value);
    if (e.name == "Level") Level = v;
    else if (e.name == "DotsEaten") DotsEaten = v;
    else if (e.name == "Score") Score = v;
    else if (e.name == "Lives") Player.lives = v;
}

// A fresh folder of the run's own for its settings, under $TMPDIR or /tmp; "" (with
// `why` set) when none can be made.
std::string MakeTempFolder(std::string& why) {
    const char* base = std::getenv("TMPDIR");
    std::string name = std::string(base && *base ? base : "/tmp") + "/glimmo-XXXXXX";
    if (mkdtemp(name.data())) return name;
    why = std::strerror(errno);
    return "";
}

// Every output of the run is checked before anything is made, so a path that cannot be
// written costs nothing. "" when all can be; else the line to print.
std::string CheckOutputs(const CommandLine& cl) {
    auto check = [](const char* what, const std::string& path) -> std::string {
        std::string why = WhyNotWritable(path);
        return why.empty() ? "" : std::string("cannot write ") + what + " " + path + ": " + why;
    };
    std::string problem;
    if (!cl.stateLog.empty()) problem = check("the state log", cl.stateLog);
    if (problem.empty() && !cl.audioOut.empty()) problem = check("the audio", cl.audioOut);
    for (const ScreenshotRequest& s : cl.screenshots)
        if (problem.empty()) problem = check("the screenshot", s.path);
    return problem;
}
}  // namespace

bool RunCutShort() { return cutShort; }

int RunProgram(const CommandLine& cl, const LoopHooks& extra, HeadlessBackend* headless) {
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
        if (int error = VirtualAudioOutError()) fail("the audio", cl.audioOut, error);
        auto cut = [] {  // the harness ends the loop
            cutShort = true;
            return false;
        };
        if (!failure.empty() || stopSignal) return cut();
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

int RunHeadless(const CommandLine& cl) {
    std::vector<ScriptEvent> events;
    if (!cl.script.empty()) {
        std::string text;
        if (std::string why = ReadInputFile(cl.script, LargestScript, false, text); !why.empty()) {
            std::fprintf(stderr, "glimmo: cannot read the script %s: %s\n", cl.script.c_str(), why.c_str());
            return 2;
        }
        std::string error;
        if (!ParseScript(text, cl.startTick, events, error)) {
            std::fprintf(stderr, "glimmo: %s: %s\n", cl.script.c_str(), error.c_str());
            return 2;
        }
    }
    // A replay holds what came from outside the game; a script's set lines do not.
    for (const ScriptEvent& e : events)
        if (!cl.record.empty() && e.kind == ScriptEvent::Set) {
            std::fprintf(stderr, "glimmo: %s line %d: --record cannot keep a set line\n", cl.script.c_str(), e.line);
            return 2;
        }
    // A replay that cannot be played costs nothing either.
    Replay replay;
    if (!cl.replay.empty() && !LoadReplay(cl, replay)) return 2;
    if (std::string problem = CheckOutputs(cl); !problem.empty() || !(problem = WhyNotRecordable(cl)).empty()) {
        std::fprintf(stderr, "glimmo: %s\n", problem.c_str());
        return 2;
    }
    std::string folder = cl.configDir;
    if (folder.empty()) {
        std::string why;
        folder = MakeTempFolder(why);
        if (folder.empty()) {
            std::fprintf(stderr,
                         "glimmo: cannot make a temporary folder for the settings (%s); give --config-dir DIR\n",
                         why.c_str());
            return 2;
        }
    }
    auto removeTempFolder = [&] {
        std::error_code ignored;
        if (cl.configDir.empty()) std::filesystem::remove_all(folder, ignored);
    };
    if (!cl.audioOut.empty() && !SetVirtualAudioOut(cl.audioOut)) {
        std::fprintf(stderr, "glimmo: cannot write the audio %s: %s\n", cl.audioOut.c_str(), std::strerror(errno));
        removeTempFolder();
        return 2;
    }
    HeadlessBackend& backend = UseHeadlessBackend(cl.startTick, cl.displayProps.value_or(PortraitDisplay));
    backend.AddEvents(std::move(events));
    backend.onSet = ApplySet;
    SetRegistryFolder(folder, !cl.configDir.empty());
    UseVirtualWaveOut();

    int code = 0;
    {
        StopOnSignals stopper;
        code = !cl.replay.empty()   ? RunReplay(cl, replay, backend)
               : !cl.record.empty() ? RunRecorded(cl, backend, false, true)
                                    : RunProgram(cl, {}, &backend);
        if (!cl.audioOut.empty()) {
            if (!FinishVirtualAudioOut()) {
                if (!code)
                    std::fprintf(stderr, "glimmo: could not write the audio %s: %s\n", cl.audioOut.c_str(),
                                 std::strerror(errno));
                code = code ? code : 1;
            } else if (double at = VirtualAudioOutCutAt(); at > 0) {
                std::fprintf(stderr, "glimmo: %s stops at %.0f s of sound, the most a WAV file can hold (4 GiB)\n",
                             cl.audioOut.c_str(), at);
            }
        }
        removeTempFolder();
        if (stopSignal && !code) code = 128 + stopSignal;
    }
    SetBackend(nullptr);
    return code;
}
