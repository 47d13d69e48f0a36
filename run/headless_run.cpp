// The headless run around the shared run: script, outputs, settings folder, signals.
#include "run/headless_run.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include "platform/input_file.h"
#include "platform/registry_store.h"
#include "platform/scripted_backend.h"
#include "run/program_run.h"
#include "run/replays.h"
#include "run/script.h"

namespace {
// While a headless run lasts, Ctrl-C, a kill and a closed terminal end it between two
// passes, so its files are whole and its temporary folder goes; a second one kills.
class StopOnSignals {
public:
    StopOnSignals() {
        RunStopSignal = 0;
        struct sigaction ask {};
        ask.sa_handler = [](int signal) { RunStopSignal = signal; };
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

int RunHeadless(const CommandLine& cl, const HeadlessParts& parts) {
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
    // A replay holds what came from outside the game; a script's set lines do not. Under
    // --replay a script's keys are the viewer's, and a set line would reach into the game.
    for (const ScriptEvent& e : events)
        if ((!cl.record.empty() || !cl.replay.empty()) && e.kind == ScriptEvent::Set) {
            std::fprintf(stderr, "glimmo: %s line %d: %s\n", cl.script.c_str(), e.line,
                         cl.record.empty() ? "--replay takes no set line" : "--record cannot keep a set line");
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
    if (!cl.audioOut.empty() && !parts.sound.Start(cl.audioOut)) {
        std::fprintf(stderr, "glimmo: cannot write the audio %s: %s\n", cl.audioOut.c_str(), std::strerror(errno));
        removeTempFolder();
        return 2;
    }
    ScriptedBackend& backend = parts.backend;
    backend.AddEvents(TimedEvents(events));
    SetRegistryFolder(folder, !cl.configDir.empty());

    int code = 0;
    {
        StopOnSignals stopper;
        code = !cl.replay.empty()   ? RunReplay(cl, replay, backend, &parts.sound)
               : !cl.record.empty() ? RunRecorded(cl, backend, false, true, &parts.sound)
                                    : RunProgram(cl, {}, &backend, &parts.sound);
        if (!cl.audioOut.empty()) {
            if (!parts.sound.Finish()) {
                if (!code)
                    std::fprintf(stderr, "glimmo: could not write the audio %s: %s\n", cl.audioOut.c_str(),
                                 std::strerror(errno));
                code = code ? code : 1;
            } else if (double at = parts.sound.CutAt(); at > 0) {
                std::fprintf(stderr, "glimmo: %s stops at %.0f s of sound, the most a WAV file can hold (4 GiB)\n",
                             cl.audioOut.c_str(), at);
            }
        }
        removeTempFolder();
        if (RunStopSignal && !code) code = 128 + RunStopSignal;
    }
    SetBackend(nullptr);
    return code;
}
