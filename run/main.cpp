// The glimmo program: reads the command line, picks the window or the headless
// harness, and runs the game (recording it), plays a replay back or checks one.
#include <cstdio>
#include <string>
#include <vector>
#include "app/settings.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/registry_store.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_waveout.h"
#include "run/command_line.h"
#include "run/headless_run.h"
#include "run/replays.h"
#include "run/submitter.h"
#include "run/verify.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "glimmo: %s\n", error.c_str());
        return 2;
    }
    if (cl.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("glimmo %s\n", GLIMMO_VERSION);
        return 0;
    }
    // Sending a game to a hall is glimmo-submit's work.
    if (!cl.submit.empty()) return StartSubmitter(argv);
    if (!cl.verify.empty()) return VerifyFile(cl.verify);
    if (cl.headless) {
        // Headless: a virtual clock, scripted events, frames in memory, recorded sound.
        HeadlessBackend& headless = UseHeadlessBackend(cl.startTick, cl.displayProps.value_or(PortraitDisplay));
        UseVirtualWaveOut();
        return RunHeadless(cl, {headless, VirtualSoundRecorder()});
    }
    // A replay that cannot be played, or a --record that cannot keep, says so before any
    // window opens.
    Replay replay;
    if (!cl.replay.empty() && !LoadReplay(cl, replay)) return 2;
    if (std::string why = WhyNotRecordable(cl); !why.empty()) {
        std::fprintf(stderr, "glimmo: %s\n", why.c_str());
        return 2;
    }

    SdlOptions options;
    options.scale = cl.scale;
    options.fullscreen = cl.fullscreen;
    options.windowed = cl.windowed;
    options.windowSettings = cl.replay.empty();
    std::unique_ptr<Backend> backend = MakeSdlBackend(options, &error);
    if (!backend) {
        std::fprintf(stderr, "glimmo: %s\n", error.c_str());
        return 1;
    }
    SetBackend(backend.get());
    // A replay keeps nothing: it only stops.
    SetDisplayLostHandler(cl.replay.empty() ? KeepAtSessionEnd : [] { return std::string("the replay stops"); });
    std::string folder = KeptFolder(cl);
    if (folder.empty())
        std::fprintf(stderr,
                     "glimmo: HOME is not set, so the best score and volume will not be kept "
                     "(--config-dir DIR keeps them in DIR)\n");
    SetRegistryFolder(folder);
    UseSdlWaveOut();
    // Every game played in the window is recorded; a replay is only watched.
    int code = cl.replay.empty() ? RunRecorded(cl, *backend, true) : RunReplay(cl, replay, *backend);
    SetBackend(nullptr);
    return code;
}
