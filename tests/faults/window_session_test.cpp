// The windowed game at the edges of a desktop session: the terminal closed under it, the
// display gone, a second start on the same display or on another one, and no home folder.
// Each runs the real program; the runs that need a real display bring their own Xvfb.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <chrono>
#include <cstdlib>
#include <thread>
#include "platform/registry_store.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/saved_settings.h"

namespace {
using namespace std::chrono_literals;

// Waits until a file exists (a windowed run is up once its settings are read and written).
bool AppearsWithin(const std::string& path, std::chrono::seconds patience) {
    auto end = std::chrono::steady_clock::now() + patience;
    while (!Exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A windowed run of the built-in player with its settings in `folder`, on `display` (an
// X display name) or on SDL's dummy video driver when it is empty.
ProgramSetup AutopilotInAWindow(const std::string& folder, const std::string& display) {
    ProgramSetup setup;
    setup.args = {"--autopilot", "1", "--config-dir", folder};
    setup.env = {{"SDL_AUDIODRIVER", "dummy"}, {"XDG_RUNTIME_DIR", folder}, {"WAYLAND_DISPLAY", std::nullopt}};
    if (display.empty()) {
        setup.env["SDL_VIDEODRIVER"] = "dummy";
    } else {
        setup.env["SDL_VIDEODRIVER"] = "x11";
        setup.env["DISPLAY"] = display;
        // The X session's D-Bus library keeps a little memory to the end, which a leak check
        // of a sanitizer build would count against the game.
        const char* asan = std::getenv("ASAN_OPTIONS");
        setup.env["ASAN_OPTIONS"] = std::string(asan ? asan : "") + ":detect_leaks=0";
    }
    setup.timeoutSeconds = 60;
    return setup;
}
}  // namespace

// Closing the terminal (SIGHUP) is a quit like SIGTERM: the session's settings are saved.
// The built-in player never saves its score as the best, but a save writes the volume,
// which the file holds only once a save has happened.
TEST(WindowSession, ClosingTheTerminalSavesTheSettings) {
    ScratchFolder scratch("hang-up");
    ProgramSetup setup = AutopilotInAWindow(scratch.Path(), "");
    setup.terminateAfterMs = 3000;
    setup.terminateOnceExists = SettingsFileIn(scratch.Path());
    setup.terminateSignal = SIGHUP;
    setup.ownInstanceSocket = true;
    ProgramResult run = RunGlimmo(setup);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(ReadSaved(SettingsFileIn(scratch.Path())).sound, 0) << "the session was not saved";
}

// The X server going away under the game: the settings are saved (the volume shows it, as
// above), and the player reads one line of ours instead of the X library's.
TEST(WindowSession, LosingTheDisplaySavesTheSettings) {
    VirtualDisplay display;
    if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
    ScratchFolder scratch("display-lost");
    ProgramSetup setup = AutopilotInAWindow(scratch.Path(), display.Name());
    setup.ownInstanceSocket = true;
    std::thread killer([&] {
        if (AppearsWithin(SettingsFileIn(scratch.Path()), 30s)) std::this_thread::sleep_for(3s);
        display.Kill();
    });
    ProgramResult run = RunGlimmo(setup);
    killer.join();
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("display"), std::string::npos) << run.err;
    EXPECT_GE(ReadSaved(SettingsFileIn(scratch.Path())).sound, 0) << "the session was not saved";
}

// One copy per display: a second start on the same display says in one line that it
// brought the running game to the front, and leaves; a start on another display plays.
TEST(WindowSession, ASecondCopySaysItRaisedTheFirstAndAnotherDisplayHasItsOwn) {
    VirtualDisplay display, other;
    if (!display.Running() || !other.Running()) GTEST_SKIP() << "Xvfb is not installed";
    ScratchFolder scratch("second-copy");
    const std::string first = scratch / "first", second = scratch / "second", third = scratch / "third";
    for (const std::string& folder : {first, second, third}) ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);

    // The single-instance sockets are shared here: the display names keep them apart from
    // any other test's copies.
    ProgramSetup firstSetup = AutopilotInAWindow(first, display.Name());
    firstSetup.terminateAfterMs = 0;
    firstSetup.terminateOnceExists = scratch / "done";
    ProgramResult firstRun;
    std::thread running([&] { firstRun = RunGlimmo(firstSetup); });
    if (!AppearsWithin(SettingsFileIn(first), 30s)) {
        WriteWholeFile(scratch / "done", "");
        running.join();
        FAIL() << "the first copy did not start: " << firstRun.err;
    }

    ProgramSetup sameDisplay = AutopilotInAWindow(second, display.Name());
    sameDisplay.timeoutSeconds = 30;
    ProgramResult again = RunGlimmo(sameDisplay);
    ProgramSetup elsewhere = AutopilotInAWindow(third, other.Name());
    elsewhere.terminateAfterMs = 1500;
    elsewhere.terminateOnceExists = SettingsFileIn(third);
    elsewhere.timeoutSeconds = 30;
    ProgramResult elsewhereRun = RunGlimmo(elsewhere);
    WriteWholeFile(scratch / "done", "");
    running.join();

    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.ErrLines().size(), 1u) << "the second start said: " << again.err;
    EXPECT_NE(again.err.find("to the front"), std::string::npos) << again.err;
    EXPECT_FALSE(Exists(SettingsFileIn(second))) << "a copy that leaves touches no settings";

    EXPECT_FALSE(elsewhereRun.timedOut);
    EXPECT_EQ(elsewhereRun.exitCode, 0) << elsewhereRun.err;
    EXPECT_EQ(elsewhereRun.err, "");
    EXPECT_TRUE(Exists(SettingsFileIn(third))) << "the copy on the other display did not play";
    EXPECT_EQ(firstRun.exitCode, 0) << firstRun.err;
}

// No HOME (and no XDG_CONFIG_HOME): nothing is written into the folder the game was
// started from, and one line says the settings will not be kept.
TEST(WindowSession, WithoutAHomeFolderNothingIsWrittenWhereTheGameStarted) {
    ScratchFolder scratch("no-home");
    ProgramSetup setup = AutopilotInAWindow(scratch.Path(), "");
    setup.args = {};
    setup.env["HOME"] = std::nullopt;
    setup.env["XDG_CONFIG_HOME"] = std::nullopt;
    setup.workingFolder = scratch.Path();
    setup.terminateAfterMs = 2500;
    setup.ownInstanceSocket = true;
    ProgramResult run = RunGlimmo(setup);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("HOME"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(scratch / ".config")) << "settings were written into the current folder";
}
