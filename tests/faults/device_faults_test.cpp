// The program without the devices a desktop usually has: no audio device, no display,
// or SDL told to use drivers that do not exist. The game plays silent, or refuses to
// start with one clear line; the headless run needs neither.
#include <gtest/gtest.h>
#include "platform/registry_store.h"
#include "tests/support/run_glimmo.h"

namespace {
// A windowed run of about a second and a half, asked to quit as a desktop would at
// log-out, with its settings in a scratch folder. A desktop session has a runtime folder.
ProgramResult WindowRun(const ScratchFolder& scratch, std::map<std::string, std::optional<std::string>> env) {
    ProgramSetup setup;
    setup.args = {"--config-dir", scratch.Path()};
    setup.env = std::move(env);
    if (!setup.env.count("XDG_RUNTIME_DIR")) setup.env["XDG_RUNTIME_DIR"] = scratch.Path();
    setup.terminateAfterMs = 1500;
    setup.terminateOnceExists = SettingsFileIn(scratch.Path());  // written once the window is up
    setup.ownInstanceSocket = true;
    setup.timeoutSeconds = 60;
    return RunGlimmo(setup);
}
}  // namespace

TEST(DeviceFaults, NoAudioDeviceThePlayerGetsOneLineAndASilentGame) {
    for (const char* driver : {"nosuchdriver", ""}) {
        SCOPED_TRACE(std::string("SDL_AUDIODRIVER=") + driver);
        ScratchFolder scratch("no-audio");
        ProgramResult run = WindowRun(scratch, {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", driver}});
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        // The game ran until asked to quit, and saved on the way out.
        EXPECT_TRUE(Exists(SettingsFileIn(scratch.Path())));
        if (*driver == 0 && run.err.empty()) continue;  // this machine has a sound device after all
        // Exactly one line, ours: the sound library's own complaints while looking are kept quiet.
        ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_EQ(run.err.rfind("glimmo: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("playing silent"), std::string::npos) << run.err;
    }
}

TEST(DeviceFaults, NoDisplayTheProgramSaysSoInOneLineAndExitsOne) {
    struct Case {
        const char* what;
        std::map<std::string, std::optional<std::string>> env;
    };
    const Case cases[] = {
        {"a video driver that does not exist", {{"SDL_VIDEODRIVER", "nosuchdriver"}, {"SDL_AUDIODRIVER", "dummy"}}},
        {"no display at all",
         {{"SDL_VIDEODRIVER", std::nullopt},
          {"DISPLAY", std::nullopt},
          {"WAYLAND_DISPLAY", std::nullopt},
          {"SDL_AUDIODRIVER", "dummy"}}},
        {"both drivers that do not exist", {{"SDL_VIDEODRIVER", "nosuchdriver"}, {"SDL_AUDIODRIVER", "nosuchdriver"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("no-display");
        ProgramResult run = WindowRun(scratch, c.env);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_EQ(run.err.rfind("glimmo: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("display"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(Exists(SettingsFileIn(scratch.Path()))) << "nothing is touched by a program that could not start";
    }
}

TEST(DeviceFaults, TheHeadlessRunNeedsNeitherDevice) {
    ScratchFolder scratch("headless");
    ProgramSetup setup;
    setup.args = {"--headless", "--autopilot", "3", "--until-tick", "20000", "--config-dir", scratch.Path()};
    setup.env = {{"SDL_VIDEODRIVER", "nosuchdriver"}, {"SDL_AUDIODRIVER", "nosuchdriver"}, {"DISPLAY", std::nullopt}};
    ProgramResult run = RunGlimmo(setup);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
}
