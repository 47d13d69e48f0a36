// Whole games in a real SDL window on SDL's dummy video driver: keys and window changes
// sent as a desktop sends them, and what the player meets read back (the screen that
// runs, the window's title, whether the program goes on and what it saved). The title's
// pace is measured on a real X display (Xvfb) whose refresh rate is reported as a test says.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "app/window_proc.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/forwarding_backend.h"
#include "platform/messages.h"
#include "platform/registry_store.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_waveout.h"
#include "run/program_run.h"
#include "run/replays.h"
#include "tests/support/game_reset.h"
#include "tests/support/headless_here.h"
#include "tests/support/outside_leaks.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/sdl/sdl_event_injection.h"
#include "tests/support/sdl/sdl_refresh_report.h"

namespace {
// The SDL backend without its single-instance check, so that a copy of the game being
// played on this machine cannot send the test's copy away.
class NoInstanceCheck final : public ForwardingBackend {
public:
    explicit NoInstanceCheck(Backend& inner) : ForwardingBackend(inner) {}
    bool OtherInstanceRunning(const std::string&) override { return false; }
};

// One thing the player does once the game has come to a point: `ready` is asked after
// every pass with the passes since the last step; `act` checks and sends keys.
struct Step {
    const char* what;
    std::function<bool(uint64_t passes)> ready;
    std::function<void()> act;
};

std::function<bool(uint64_t)> After(uint64_t passes) {
    return [passes](uint64_t n) { return n >= passes; };
}
std::function<bool(uint64_t)> When(std::function<bool()> holds) {
    return [holds](uint64_t) { return holds(); };
}

void Tap(const char* key) {
    InjectKey(key, true);
    InjectKey(key, false);
}

const std::string Dot = " \u00B7 ";
const std::string PausedTitle = "glimmo" + Dot + "paused" + Dot + "P resumes" + Dot + "Esc quits";
std::string VolumeTitle(int volume) { return "glimmo" + Dot + "volume " + std::to_string(volume) + " of 64"; }

class WindowRun : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        scratch = std::make_unique<ScratchFolder>(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // Runs the program until it quits; every step must be reached in turn, each within
    // five seconds. Returns the exit code.
    int Run(std::vector<Step> steps) {
        std::string error;
        std::unique_ptr<Backend> sdl = MakeSdlBackend(SdlOptions{2, false}, &error);
        EXPECT_TRUE(sdl) << error;
        if (!sdl) return -1;
        NoInstanceCheck backend(*sdl);
        SetBackend(&backend);
        ResetGameGlobals();  // as a program starting afresh finds them
        SetRegistryFolder(scratch->Path());
        UseSdlWaveOut();
        size_t next = 0;
        uint64_t since = 0;
        uint32_t stepStart = GetTickCount();
        OnPassEnd = [&](const PassInfo&) {
            if (next >= steps.size()) return;
            if (steps[next].ready(++since)) {
                if (steps[next].act) steps[next].act();
                ++next;
                since = 0;
                stepStart = GetTickCount();
            } else if (GetTickCount() - stepStart > 5000) {
                ADD_FAILURE() << "never came to: " << steps[next].what;
                next = steps.size();
                PostQuitMessage(0);
            }
        };
        // As the program runs a window: every game recorded, and kept beside the settings.
        CommandLine cl;
        cl.configDir = scratch->Path();
        int code = RunRecorded(cl, backend, true);
        OnPassEnd = nullptr;
        SetBackend(nullptr);
        sdl.reset();
        if (next < steps.size()) ADD_FAILURE() << "the program ended before: " << steps[next].what;
        return code;
    }

    bool Saved() const { return Exists(SettingsFileIn(scratch->Path())); }

    std::unique_ptr<ScratchFolder> scratch;
};

bool InPhase(int32_t phase) { return GamePhase == phase && Paused == 0; }
void EndReady() { PhaseTimer = GetTickCount(); }

TEST_F(WindowRun, LeavingTheWindowPausesAGameInPlayAndNothingElse) {
    int code = Run({
        {"the title", After(5), [] { InjectWindowEvent(InjectedWindowEvent::Minimised); }},
        {"the title after minimising", After(20),
         [] {
             EXPECT_EQ(GamePhase, PhaseTitle);
             InjectWindowEvent(InjectedWindowEvent::Restored);
             InjectWindowEvent(InjectedWindowEvent::FocusGained);
             Tap("Return");
         }},
        {"READY!", When([] { return InPhase(PhaseReady); }), [] { InjectWindowEvent(InjectedWindowEvent::FocusLost); }},
        {"READY! after the focus went", After(10),
         [] {
             EXPECT_TRUE(InPhase(PhaseReady)) << "nothing to pause before play";
             EndReady();
         }},
        {"paused as play began", When([] { return Paused == 1; }),
         [] {
             EXPECT_EQ(GamePhase, PhasePlaying);
             InjectWindowEvent(InjectedWindowEvent::FocusGained);
             Tap("P");
         }},
        {"play again after P", When([] { return InPhase(PhasePlaying); }),
         [] { InjectWindowEvent(InjectedWindowEvent::Minimised); }},
        {"paused by minimising", When([] { return Paused == 1; }),
         [] {
             InjectWindowEvent(InjectedWindowEvent::Hidden);
             InjectWindowEvent(InjectedWindowEvent::FocusLost);
             InjectWindowEvent(InjectedWindowEvent::Restored);
             InjectWindowEvent(InjectedWindowEvent::Shown);
             InjectWindowEvent(InjectedWindowEvent::FocusGained);
         }},
        {"the window back", After(20),
         [] {
             EXPECT_EQ(Paused, 1) << "only the pause key resumes";
             Tap("Escape");
         }},
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Saved());
}

TEST_F(WindowRun, EscapePausesAGameAndQuitsFromThePauseTheTitleAndGameOver) {
    int code = Run({
        {"the title", After(5), [] { Tap("Return"); }},
        {"READY!", When([] { return InPhase(PhaseReady); }), [] { Tap("Escape"); }},
        {"READY! after Escape", After(10),
         [] {
             EXPECT_TRUE(InPhase(PhaseReady)) << "Escape does what the pause key does: nothing yet";
             EndReady();
         }},
        {"play", When([] { return InPhase(PhasePlaying); }), [] { Tap("Escape"); }},
        {"paused by Escape", When([] { return Paused == 1; }), [] { Tap("Escape"); }},
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Saved()) << "Escape on the pause screen saves and quits";

    std::remove(SettingsFileIn(scratch->Path()).c_str());
    code = Run({{"the title", After(5), [] { Tap("Escape"); }}});
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Saved()) << "Escape on the title saves and quits";

    std::remove(SettingsFileIn(scratch->Path()).c_str());
    code = Run({
        {"the title", After(5), [] { Tap("Return"); }},
        {"READY!", When([] { return InPhase(PhaseReady); }), [] { GamePhase = PhaseGameOver; }},
        {"GAME OVER", After(5), [] { Tap("Escape"); }},
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Saved()) << "Escape on GAME OVER saves and quits";
}

TEST_F(WindowRun, TheTitleBarTellsTheVolumeAndHowToLeaveThePause) {
    uint32_t released = 0;
    int code = Run({
        {"the title", After(5),
         [] {
             EXPECT_EQ(ReadWindowTitle(), "glimmo");
             InjectKey("F6", true);
         }},
        {"F6 held", After(20), [] { EXPECT_EQ(ReadWindowTitle(), VolumeTitle(Sound)); }},
        {"F6 held longer", After(20),
         [&] {
             EXPECT_EQ(ReadWindowTitle(), VolumeTitle(Sound));
             InjectKey("F6", false);
             released = GetTickCount();
         }},
        {"F6 let go for a while", When([&] { return GetTickCount() - released >= 1500; }),
         [] { EXPECT_EQ(ReadWindowTitle(), VolumeTitle(Sound)) << "still shown within two seconds"; }},
        {"F6 let go two seconds ago", When([&] { return GetTickCount() - released >= 2100; }),
         [] {
             EXPECT_EQ(ReadWindowTitle(), "glimmo");
             Tap("Return");
         }},
        {"READY!", When([] { return InPhase(PhaseReady); }), EndReady},
        {"play", When([] { return InPhase(PhasePlaying); }), [] { Tap("P"); }},
        {"paused", When([] { return Paused == 1; }), [] {}},
        {"the pause shown", After(2),
         [] {
             EXPECT_EQ(ReadWindowTitle(), PausedTitle);
             Tap("P");
         }},
        {"resumed", When([] { return Paused == 0; }), [] {}},
        {"play shown", After(2),
         [] {
             EXPECT_EQ(ReadWindowTitle(), "glimmo");
             InjectQuit();
         }},
    });
    EXPECT_EQ(code, 0);
}

// The title makes a pass every two milliseconds of the game's clock, whatever the display:
// the passes due before a refresh run one after another at the refresh, and waiting for
// a slow display's refresh is never taken for a stall of the machine.
TEST_F(WindowRun, TheTitleKeepsItsPaceAtAnyRefreshRate) {
    VirtualDisplay display(1024, 768);
    if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
    OutsideLeaksIgnored xLibraries;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("DISPLAY", display.Name().c_str(), 1);
    for (int hz : {24, 30, 60, 144}) {
        ReportRefreshRate(hz);
        uint32_t from = 0, to = 0;
        uint64_t passes = 0;
        int code = Run({
            {"the title settled", After(50), [&] { from = GetTickCount(); }},
            {"a second of the game's clock",
             [&](uint64_t n) {
                 passes = n;
                 to = GetTickCount();
                 return to - from >= 1000;
             },
             InjectQuit},
        });
        EXPECT_EQ(code, 0);
        const double perSecond = to > from ? double(passes) * 1000.0 / double(to - from) : 0.0;
        std::printf("at %d Hz: %.0f passes a second of the game's clock\n", hz, perSecond);
        EXPECT_GE(perSecond, 450.0) << "at " << hz << " Hz";
        EXPECT_LE(perSecond, 501.0) << "at " << hz << " Hz";
    }
    ReportRefreshRate(0);
}
}  // namespace
