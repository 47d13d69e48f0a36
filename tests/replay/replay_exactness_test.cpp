// Replays are exact: a game played in the window, on a real clock with keys pressed by
// another thread at moments of their own, and the second game of a headless run (which
// begins where the first left the game's state), each replayed headless give the same
// state log and the same pictures, pass for pass. Watched in the window, a replay heeds
// no key but Escape.
#include <gtest/gtest.h>
#include <sched.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/registry_store.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_waveout.h"
#include "run/program_run.h"
#include "run/replays.h"
#include "run/state_log.h"
#include "tests/support/game_reset.h"
#include "tests/support/headless_here.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/sdl/sdl_event_injection.h"

namespace {

// Every pass of a run: its state line without the pass number, and a digest of its picture.
struct Passes {
    std::vector<std::string> states;
    std::vector<uint64_t> pictures;
};

uint64_t Digest(const void* frame, size_t bytes) {
    uint64_t h = 1469598103934665603ull;
    const auto* p = static_cast<const uint8_t*>(frame);
    for (size_t i = 0; frame && i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Collects the passes of whatever runs while it lives.
class PassCollector {
public:
    explicit PassCollector(Passes& into) {
        OnPassEnd = [&into](const PassInfo& p) {
            std::string line = StateLine(p.pass, p.tick, *p.msg, p.kind);
            into.states.push_back(line.substr(line.find(',')));
            GXDisplayProperties props = CurrentBackend().DisplayProperties();
            into.pictures.push_back(Digest(CurrentBackend().LastFrame(), size_t(props.cyHeight) * props.cbyPitch));
        };
    }
    ~PassCollector() { OnPassEnd = nullptr; }
};

// The last game of a run: from the first pass after the title whose frame was the game's.
size_t LastGameStart(const Passes& run) {
    size_t start = 0;
    for (size_t i = 1; i < run.states.size(); ++i)
        if (run.states[i].find("\"screen\":\"game\"") != std::string::npos &&
            run.states[i - 1].find("\"screen\":\"title\"") != std::string::npos)
            start = i;
    return start;
}

// The replay of the last game matches the run that recorded it, pass for pass.
void ExpectSameGame(const Passes& played, const Passes& replayed) {
    size_t start = LastGameStart(played);
    ASSERT_GT(replayed.states.size(), 100u);
    ASSERT_LE(start + replayed.states.size(), played.states.size());
    for (size_t i = 0; i < replayed.states.size(); ++i) {
        ASSERT_EQ(played.states[start + i], replayed.states[i]) << "the state of the game's pass " << i + 1;
        ASSERT_EQ(played.pictures[start + i], replayed.pictures[i]) << "the picture of the game's pass " << i + 1;
    }
    std::printf("the replay matched the game played, %zu passes of state and picture\n", replayed.states.size());
}

Passes ReplayHeadless(const std::string& folder, const std::string& which) {
    CommandLine cl;
    cl.headless = true;
    cl.replay = which;
    cl.configDir = folder;
    Passes replayed;
    PassCollector collect(replayed);
    EXPECT_EQ(RunHeadlessHere(cl), 0);
    return replayed;
}

void Press(const char* key, int holdMs) {
    InjectKey(key, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    InjectKey(key, false);
}

// A run in the window while another thread presses keys at moments of its own: `keys`
// begins once the first pass has run, and may look at `over` (the run has ended).
struct PressedRun {
    Passes passes;
    int code = -1;
    bool ran = false;  // a pass ran
};

PressedRun RunWhilePressing(const std::function<int()>& run,
                            const std::function<void(const std::atomic<bool>& over)>& keys) {
    PressedRun result;
    std::atomic<bool> up{false}, over{false};
    std::thread presser([&] {
        using namespace std::chrono_literals;
        while (!up)
            if (over) return;
            else std::this_thread::sleep_for(5ms);
        keys(over);
    });
    {
        PassCollector collect(result.passes);
        OnPassEnd = [&, inner = OnPassEnd](const PassInfo& p) {
            inner(p);
            up = true;
        };
        result.code = run();
        over = true;
    }
    presser.join();
    result.ran = up;
    return result;
}

}  // namespace

TEST(ReplayExactness, AGameInTheWindowReplaysHeadlessPassForPass) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A network namespace of its own: a glimmo running elsewhere on this machine (another
    // test's) holds the single-instance socket, and would send this game away.
    if (unshare(CLONE_NEWNET) != 0) unshare(CLONE_NEWUSER | CLONE_NEWNET);
    ScratchFolder scratch("window-game");
    std::string error;
    std::unique_ptr<Backend> window = MakeSdlBackend(SdlOptions{1, false}, &error);
    ASSERT_TRUE(window) << error;
    SetBackend(window.get());
    SetRegistryFolder(scratch.Path());
    UseSdlWaveOut();

    CommandLine cl;
    cl.configDir = scratch.Path();
    ResetGameGlobals();
    // The player: keys at moments of its own, whatever the game is doing just then.
    auto player = [](const std::atomic<bool>& over) {
        using namespace std::chrono_literals;
        std::this_thread::sleep_for(200ms);
        Press("Return", 60);
        std::this_thread::sleep_for(4500ms);  // READY!
        Press("Right", 350);
        InjectKey("Keypad 8", true);
        Press("A", 240);  // W A S D steer as the arrows do
        std::this_thread::sleep_for(300ms);
        InjectKey("Keypad 8", false);
        Press("Escape", 40);  // Escape pauses a game in play; F10 plays on
        std::this_thread::sleep_for(400ms);
        Press("F10", 30);
        Press("Keypad +", 250);  // louder for a while, then one step quieter
        Press("-", 20);
        Press("Down", 500);
        Press("Left", 700);
        Press("Escape", 40);  // paused; on the pause screen Escape is the back key
        std::this_thread::sleep_for(200ms);
        Press("Escape", 40);
        // The close button, should the game still be up; never into the next test's window.
        for (int i = 0; i < 300 && !over; ++i) std::this_thread::sleep_for(10ms);
        if (!over) InjectQuit();
    };
    const PressedRun played = RunWhilePressing([&] { return RunRecorded(cl, *window, true); }, player);
    EXPECT_EQ(played.code, 0);
    ASSERT_TRUE(played.ran) << "the game never ran a pass";
    window.reset();
    SetBackend(nullptr);

    ASSERT_TRUE(Exists(scratch / "last.replay"));
    ASSERT_TRUE(Exists(scratch / "best.replay")) << "the first game kept is the best so far";
    const Passes replayed = ReplayHeadless(scratch.Path(), "last");
    ExpectSameGame(played.passes, replayed);
    EXPECT_TRUE(std::any_of(replayed.states.begin(), replayed.states.end(), [](const std::string& s) {
        return s.find("\"paused\":1") != std::string::npos;
    })) << "Escape never paused the game";
}

// The first game ends in GAME OVER with the fright, the counters and the deadlines it
// leaves; the second, recorded, starts from them.
TEST(ReplayExactness, TheSecondGameOfARunReplaysFromWhereItBegan) {
    ScratchFolder scratch("second-game");
    const std::string script = scratch / "two_games.txt";
    WriteWholeFile(script,
                   "100 tap RETURN\n"
                   "52000 tap RETURN\n"  // GAME OVER is long past: back to the title
                   "53000 tap RETURN\n"
                   "57500 down RIGHT\n"
                   "58000 down 8\n"
                   "58200 up RIGHT\n"
                   "59000 up 8\n"
                   "59000 tap F10\n"
                   "59500 tap F10\n"
                   "60000 tap F7\n"
                   "64000 deactivate\n");
    CommandLine cl;
    cl.headless = true;
    cl.script = script;
    cl.record = scratch / "second.replay";
    Passes played;
    {
        PassCollector collect(played);
        UseHeadlessBackend();  // a clock for the reset; the run makes its own
        ResetGameGlobals();
        ASSERT_EQ(RunHeadlessHere(cl), 0);
    }
    ASSERT_TRUE(Exists(cl.record));
    ExpectSameGame(played, ReplayHeadless(scratch.Path(), cl.record));
}

// Watching a replay in the window: what is pressed there does not reach the game (the
// game's keys do nothing, P pauses the replay), until Escape stops it; and it keeps
// nothing in the settings folder.
TEST(ReplayInTheWindow, TheViewersKeysNeverReachTheGameAndEscapeStopsIt) {
    ScratchFolder scratch("watched");
    WriteWholeFile(scratch / "game.txt", "100 tap RETURN\n4500 down LEFT\n5000 up LEFT\n5000 down UP\n9000 close\n");
    CommandLine rec;
    rec.headless = true;
    rec.script = scratch / "game.txt";
    rec.record = scratch / "game.replay";
    UseHeadlessBackend();
    ResetGameGlobals();
    ASSERT_EQ(RunHeadlessHere(rec), 0);
    const Passes whole = ReplayHeadless(scratch.Path(), rec.record);

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    std::unique_ptr<Backend> window = MakeSdlBackend(SdlOptions{1, false}, &error);
    ASSERT_TRUE(window) << error;
    const std::string settings = scratch / "settings";
    SetBackend(window.get());
    SetRegistryFolder(settings);
    UseSdlWaveOut();
    CommandLine cl;
    cl.replay = rec.record;
    cl.configDir = settings;
    Replay replay;
    ASSERT_TRUE(LoadReplay(cl, replay));

    auto viewer = [](const std::atomic<bool>&) {
        using namespace std::chrono_literals;
        Press("Return", 50);
        Press("Keypad 2", 300);
        Press("P", 50);
        InjectWindowEvent(InjectedWindowEvent::Minimised);
        std::this_thread::sleep_for(1500ms);
        Press("Escape", 30);
    };
    const Passes watched = RunWhilePressing([&] { return RunReplay(cl, replay, *window); }, viewer).passes;
    window.reset();
    SetBackend(nullptr);

    ASSERT_GT(watched.states.size(), 20u);
    EXPECT_LT(watched.states.size(), whole.states.size() / 2) << "Escape did not stop the replay";
    for (size_t i = 0; i < watched.states.size(); ++i)
        ASSERT_EQ(watched.states[i], whole.states[i]) << "pass " << i + 1 << " of the replay in the window";
    EXPECT_FALSE(std::filesystem::exists(settings)) << "watching a replay wrote into the settings folder";
}

// Watched at 16 x, paused, a pass at a time, jumped ahead and sent back to the start, a
// replay still plays the game recorded, pass for pass, to its recorded end; only the time
// it takes at the window changes (here the headless clock, heard in the sound).
TEST(ReplayWatching, AtSixteenTimesWithPausesAndStepsItEndsAsRecorded) {
    ScratchFolder scratch("watching");
    const std::string replay = std::string(GLIMMO_REPLAY_FIXTURES) + "/window_game.replay";
    auto watch = [&](const std::string& name, const std::string& keys) {
        WriteWholeFile(scratch / (name + ".txt"), keys);
        ProgramSetup setup;
        setup.args = {"--headless",
                      "--replay",
                      replay,
                      "--script",
                      scratch / (name + ".txt"),
                      "--state-log",
                      scratch / (name + ".jsonl"),
                      "--audio-out",
                      scratch / (name + ".wav")};
        EXPECT_EQ(RunGlimmo(setup).exitCode, 0) << name;
        return std::make_pair(ReadWholeFile(scratch / (name + ".jsonl")), ReadWholeFile(scratch / (name + ".wav")));
    };
    const auto [plain, plainSound] = watch("plain", "");
    const auto [watched, watchedSound] =
        watch("watched",
              "100 tap F6\n110 tap F6\n120 tap UP\n130 tap F6\n"            // 16 x
              "300 tap F10\n400 tap RETURN\n500 tap RETURN\n600 tap F10\n"  // paused, two passes
              "700 tap RIGHT\n800 tap LEFT\n"                               // ten seconds ahead, back to the start
              "1000 tap F10\n1100 tap RETURN\n1200 tap F10\n");
    ASSERT_GT(plain.size(), 1000u);
    EXPECT_EQ(watched, plain) << "the state log of the replay watched differs from the replay's";
    EXPECT_LT(watchedSound.size(), plainSound.size() / 8) << "the replay was not watched at 16 x";
}
