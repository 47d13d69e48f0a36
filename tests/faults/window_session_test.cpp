// The windowed game at the edges of a desktop session: the terminal closed under it, the
// display gone, a second start on the same display or on another one, no home folder, and
// the quiet title on a real X server. Each runs the real program; the runs that need a
// real display bring their own Xvfb.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>
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

// A windowed run with its settings in `folder`, on `display` (an X display name) or on
// SDL's dummy video driver when it is empty.
ProgramSetup InAWindow(const std::string& folder, const std::string& display) {
    ProgramSetup setup;
    setup.args = {"--config-dir", folder};
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

// The same with the built-in player playing.
ProgramSetup AutopilotInAWindow(const std::string& folder, const std::string& display) {
    ProgramSetup setup = InAWindow(folder, display);
    setup.args.insert(setup.args.begin(), {"--autopilot", "1"});
    return setup;
}

// The machine's monotonic clock in milliseconds, as the window's tick count starts from it.
uint32_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1000000);
}

// How many times a process's main thread has given up the processor to wait.
long WaitsOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::stol(line.substr(line.find(':') + 1));
    return -1;
}

// A windowed run in a thread of its own: up once its settings are written, and asked to
// end (SIGTERM, as a desktop asks) when Stop leaves the file it waits for.
class Running {
public:
    Running(ProgramSetup setup, const ScratchFolder& scratch) : done_(scratch / "done") {
        setup.terminateAfterMs = 0;
        setup.terminateOnceExists = done_;
        setup.ownInstanceSocket = true;
        thread_ = std::thread([this, setup] { result_ = RunGlimmo(setup); });
        up_ = AppearsWithin(SettingsFileIn(scratch.Path()), 30s);
    }
    ~Running() { Stop(); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool Up() const { return up_; }
    const ProgramResult& Stop() {
        if (thread_.joinable()) {
            WriteWholeFile(done_, "");
            thread_.join();
        }
        return result_;
    }

private:
    std::string done_;
    std::thread thread_;
    ProgramResult result_;
    bool up_ = false;
};

// xdotool on `display`; true when it succeeded.
bool Xdotool(const std::string& display, const std::string& arguments) {
    return std::system(("DISPLAY=" + display + " xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// What a command run on `display` printed.
std::string OutputOn(const std::string& display, const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

// The pixels a picture command wrote to its standard output as 8-bit RGB (ImageMagick's
// rgb: format), read whole.
std::string RgbFrom(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// Of the pixels lit (not black) in either of two RGB pictures of the same size, the share
// that differ (1 when the sizes differ).
double ShareDiffering(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.empty()) return 1;
    const std::string black(3, '\0');
    size_t lit = 0, differing = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
        if (a.compare(i, 3, black) == 0 && b.compare(i, 3, black) == 0) continue;
        ++lit;
        differing += a.compare(i, 3, b, i, 3) != 0;
    }
    return lit ? double(differing) / double(lit) : 0;
}

// A window manager on `display` (openbox) until the destructor; not running when missing.
class WindowManager {
public:
    explicit WindowManager(const std::string& display) {
        if (std::system("command -v openbox >/dev/null") != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execlp("openbox", "openbox", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Up once it has taken the root window's redirection: a client then gets managed.
        for (int i = 0; i < 100 && OutputOn(display, "xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") ==
                                       std::string::npos;
             ++i)
            std::this_thread::sleep_for(50ms);
    }
    ~WindowManager() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool Running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};
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
// above), the game in play is kept, and the player reads one line of ours instead of the
// X library's.
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
    EXPECT_TRUE(Exists(scratch / "last.replay")) << "the game in play was not kept";
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

// On the title the game makes a pass every two milliseconds; the window runs the passes
// due at each display refresh together, so the game's thread wakes a few dozen times a
// second, not five hundred. Its clock still keeps to the real one, and a key pressed there
// reaches the game at the millisecond it was pressed: the recorded game begins then.
TEST(WindowSession, TheTitleWakesByTheRefreshAndTakesAKeyAtItsTime) {
    VirtualDisplay display;
    if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
    ScratchFolder scratch("title-wakes");
    ProgramSetup setup = InAWindow(scratch.Path(), display.Name());
    setup.args.insert(setup.args.end(), {"--record", scratch / "game.replay"});
    setup.ownInstanceSocket = true;
    std::atomic<pid_t> pid{0};
    setup.startedPid = &pid;
    std::atomic<bool> ended{false};
    ProgramResult run;
    std::thread playing([&] {
        run = RunGlimmo(setup);
        ended = true;
    });
    const bool up = AppearsWithin(SettingsFileIn(scratch.Path()), 30s);
    std::this_thread::sleep_for(1s);
    const long waitsBefore = WaitsOf(pid);
    std::this_thread::sleep_for(2s);
    const long waitsOnTheTitle = WaitsOf(pid) - waitsBefore;
    const bool focused = Xdotool(display.Name(), "search --sync --name '^glimmo' windowfocus --sync");
    const uint32_t pressedFrom = MonotonicMs();
    Xdotool(display.Name(), "key Return");
    const uint32_t pressedBy = MonotonicMs();
    // Escape does nothing while READY! shows, then pauses the game, then ends it.
    for (int i = 0; i < 60 && !ended; ++i) {
        std::this_thread::sleep_for(400ms);
        Xdotool(display.Name(), "key Escape");
    }
    playing.join();

    ASSERT_TRUE(up) << run.err;
    EXPECT_TRUE(focused);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GT(waitsOnTheTitle, 0);
    EXPECT_LT(waitsOnTheTitle, 2 * 250) << "the title woke the game more than 250 times a second";
    std::istringstream replay(ReadWholeFile(scratch / "game.replay"));
    std::string word;
    uint32_t start = 0;
    while (replay >> word && word != "start") {}
    ASSERT_TRUE(replay >> start) << "no game was recorded: the Enter key did not start one";
    EXPECT_GE(int32_t(start - pressedFrom), 0) << "the game began before the key was pressed";
    EXPECT_LE(int32_t(start - pressedBy), 300) << "the game began long after the key was pressed";
}

// The window never gets smaller than the phone's screen: the window manager is told the
// least size, and a request for less is refused.
TEST(WindowSession, TheWindowManagerKnowsTheLeastSize) {
    VirtualDisplay display(1024, 768);
    if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
    if (std::system("command -v xdotool >/dev/null && command -v xprop >/dev/null") != 0)
        GTEST_SKIP() << "xdotool or xprop is not installed";
    WindowManager manager(display.Name());
    if (!manager.Running()) GTEST_SKIP() << "openbox is not installed";
    ScratchFolder scratch("least-size");
    Running game(InAWindow(scratch.Path(), display.Name()), scratch);
    const std::string window = OutputOn(display.Name(), "xdotool search --sync --name '^glimmo'");
    const std::string id = window.substr(0, window.find('\n'));
    const std::string hints = OutputOn(display.Name(), "xprop -id " + id + " WM_NORMAL_HINTS");
    Xdotool(display.Name(), "windowsize --sync " + id + " 170 210");
    std::this_thread::sleep_for(500ms);
    const std::string geometry = OutputOn(display.Name(), "xdotool getwindowgeometry " + id);
    int width = 0, height = 0;
    const size_t at = geometry.find("Geometry: ");
    if (at != std::string::npos) std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height);
    const ProgramResult& run = game.Stop();

    ASSERT_TRUE(game.Up()) << run.err;
    EXPECT_NE(hints.find("minimum size: 176 by 220"), std::string::npos) << hints;
    EXPECT_GE(width, 176) << geometry;
    EXPECT_GE(height, 220) << geometry;
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// Full screen with no window manager (a cabinet or a kiosk): the game's own picture at the
// largest whole-number scale, centred on the screen, from the start, after leaving full
// screen (the window keeps its place in the middle) and after coming back to it.
TEST(WindowSession, FullScreenWithoutAWindowManagerShowsTheWholePicture) {
    VirtualDisplay display(1024, 768);
    if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
    if (std::system("command -v xdotool >/dev/null && command -v import >/dev/null") != 0)
        GTEST_SKIP() << "xdotool or ImageMagick is not installed";
    ScratchFolder scratch("kiosk");
    // The title as the game draws it, scaled by 3 (the largest that fits 1024 x 768) and
    // centred. Its ghosts and the dots' eater move, so a few pixels differ.
    ProgramResult shot =
        RunGlimmo(ProgramSetup{{"--headless", "--frames", "400", "--screenshot", "400:" + (scratch / "title.png")}});
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    const std::string expected = RgbFrom("convert " + (scratch / "title.png") +
                                         " -scale 300% -background black -gravity center -extent 1024x768 "
                                         "-depth 8 rgb:-");
    ASSERT_EQ(expected.size(), 1024u * 768u * 3u);

    ProgramSetup setup = InAWindow(scratch.Path(), display.Name());
    setup.args.push_back("--fullscreen");
    Running game(setup, scratch);
    const std::string screen = "DISPLAY=" + display.Name() + " import -window root -depth 8 rgb:-";
    std::vector<std::string> seen;
    for (const char* key : {"", "F11", "F11"}) {
        if (*key) {
            Xdotool(display.Name(), "search --name '^glimmo' windowfocus");
            Xdotool(display.Name(), std::string("key ") + key);
        }
        std::this_thread::sleep_for(1s);
        seen.push_back(RgbFrom(screen));
    }
    const ProgramResult& run = game.Stop();

    ASSERT_TRUE(game.Up()) << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const char* moments[] = {"started in full screen", "full screen left", "full screen again"};
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_LT(ShareDiffering(seen[i], expected), 0.2) << moments[i];
}
