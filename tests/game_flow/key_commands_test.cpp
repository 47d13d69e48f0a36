// The key commands in each phase, the new game's paused loop voices, the pause that
// keeps every remaining time, the back key, deactivation and leaving the window, and voices
// of a closed mixer.
#include <gtest/gtest.h>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/settings.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/headless/headless_backend.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "sound/sound_system.h"
#include "tests/game_flow/flow_fixture.h"

namespace {

void Key(int vk) { WindowProc(GameWindow(), WM_KEYDOWN, WPARAM(vk), 0); }

bool QuitPosted() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) return true;
    return false;
}

class KeyCommandTest : public FlowTest {
protected:
    void SetUp() override {
        openSound = true;
        FlowTest::SetUp();
    }
};

TEST_F(KeyCommandTest, ActionKeyStartsFromTheTitleAndLeavesGameOverOnly) {
    Key(VK_RETURN);
    EXPECT_EQ(GamePhase, PhaseReady);
    for (int32_t phase : {PhaseReady, PhasePlaying, PhaseLevelClear, PhaseGhostEaten, PhaseIntermission}) {
        GamePhase = phase;
        Key(VK_RETURN);
        EXPECT_EQ(GamePhase, phase);
    }
    GamePhase = PhaseGameOver;
    Key(VK_RETURN);
    EXPECT_EQ(GamePhase, PhaseTitle);
    Key(VK_RETURN);
    EXPECT_EQ(GamePhase, PhaseReady);
}

TEST_F(KeyCommandTest, PauseKeyActsOnlyInPlay) {
    for (int32_t phase : {PhaseTitle, PhaseReady, PhaseLevelClear, PhaseGhostEaten, PhaseGameOver}) {
        GamePhase = phase;
        Key(VK_F10);
        EXPECT_EQ(Paused, 0) << phase;
    }
    GamePhase = PhasePlaying;
    Player.state = PlayerDying;  // the death animation is play too
    Key(VK_F10);
    EXPECT_EQ(Paused, 1);
    EXPECT_TRUE(Mixer.outputPaused);
    Key(VK_F10);
    EXPECT_EQ(Paused, 0);
    EXPECT_FALSE(Mixer.outputPaused);
}

TEST_F(KeyCommandTest, NewGameStartsEveryLoopVoicePausedAndTheTune) {
    StartNewGame();
    Voice* loops[] = {ChompVoice,     FrightVoice,    EyesVoice,      SirenVoices[0],
                      SirenVoices[1], SirenVoices[2], SirenVoices[3], SirenVoices[4]};
    for (Voice* v : loops) {
        ASSERT_NE(v, nullptr);
        EXPECT_TRUE(v->paused.load());
        EXPECT_FALSE(v->stopped.load());
        EXPECT_TRUE(v->GetLoop());
    }
    EXPECT_EQ(Mixer.CountPlayingSamples(), 1u);  // the start tune
    EXPECT_EQ(Mixer.GetSampleMasterVolume(), uint32_t(Sound));
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Player.lives, 3);
    EXPECT_EQ(Score, 0);
    // A second game gets its voices afresh, none lost to the first.
    StartNewGame();
    for (Voice* v : {ChompVoice, SirenVoices[4]}) ASSERT_NE(v, nullptr);
    EXPECT_EQ(Mixer.CountPlayingSamples(), 1u);
}

TEST_F(KeyCommandTest, PauseOfAnyLengthKeepsEveryRemainingTime) {
    for (uint32_t length : {1u, 2000u, 600000u}) {
        StartPlaying();
        EatCell(7, 34);  // an energiser: fright, blink
        FruitUntil = Now() + 9000;
        FruitPointsUntil = Now() + 1500;
        GhostPointsUntil = Now() + 1200;
        PhaseTimer = Now() + 300;
        const uint32_t t0 = Now();
        const uint32_t before[] = {ScatterTimer - t0,       FrightEnd - t0,          PhaseTimer - t0,
                                   BlinkTick - t0,          FruitUntil - t0,         FruitPointsUntil - t0,
                                   GhostPointsUntil - t0,   Player.nextStep - t0,    Ghosts[0].nextStep - t0,
                                   Ghosts[1].nextStep - t0, Ghosts[2].nextStep - t0, Ghosts[3].nextStep - t0};
        Key(VK_F10);
        Advance(length);
        Key(VK_F10);
        const uint32_t t1 = Now();
        const uint32_t after[] = {ScatterTimer - t1,       FrightEnd - t1,          PhaseTimer - t1,
                                  BlinkTick - t1,          FruitUntil - t1,         FruitPointsUntil - t1,
                                  GhostPointsUntil - t1,   Player.nextStep - t1,    Ghosts[0].nextStep - t1,
                                  Ghosts[1].nextStep - t1, Ghosts[2].nextStep - t1, Ghosts[3].nextStep - t1};
        for (size_t i = 0; i < std::size(before); ++i)
            EXPECT_EQ(after[i], before[i]) << "deadline " << i << " after " << length;
    }
}

TEST_F(KeyCommandTest, APauseKeepsAMissingFruitMissingPastTheMiddleOfTheClock) {
    // A clock past 2^31 (a machine up for 25 days) read a moved "no fruit" as a fruit to come.
    backend->SetTick(0x90000000u);
    StartPlaying();
    ASSERT_EQ(FruitUntil, 0u);
    GhostPointsUntil = 0;
    FruitPointsUntil = 0;
    Key(VK_F10);
    Advance(300);
    Key(VK_F10);
    EXPECT_EQ(FruitUntil, 0u);
    EXPECT_EQ(FruitPointsUntil, 0u);
    EXPECT_EQ(GhostPointsUntil, 0u);
    Frame();
    EXPECT_EQ(FruitShown, 0);
    PlacePlayer(82, 118, Left);  // where the fruit stands
    const int32_t before = Score;
    CheckCollisions();
    EXPECT_EQ(Score, before) << "no fruit to eat at 7 dots";
}

TEST_F(KeyCommandTest, BackKeyWhilePausedSavesClosesAndQuits) {
    StartPlaying();
    HiScore = 1234;
    Key(VK_F10);
    ASSERT_EQ(Paused, 1);
    Key(VK_ESCAPE);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(Mixer.open);
    EXPECT_EQ(SoundClosed, 1);
    // The stored best score is what was reached.
    HiScore = 0;
    LoadSettings();
    EXPECT_EQ(HiScore, 1234);
}

TEST_F(KeyCommandTest, DeactivationClosesAndQuitsWithoutSaving) {
    StartPlaying();
    HiScore = 777;
    WindowProc(GameWindow(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(Mixer.open);
    HiScore = 0;
    LoadSettings();
    EXPECT_EQ(HiScore, 0);
    // Becoming active again is no command.
    WindowProc(GameWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(QuitPosted());
}

// Leaving the window (lost focus) in every phase: a game in play pauses, at once in play
// or as play begins; nothing else happens, and nothing quits.
TEST_F(KeyCommandTest, LeavingTheWindowPausesAGameInPlayOnly) {
    auto leave = [] { WindowProc(GameWindow(), WM_KILLFOCUS, 0, 0); };
    auto pass = [] { WindowProc(GameWindow(), WM_TIMER, FrameTimerId, 0); };
    for (int32_t phase : {PhaseTitle, PhaseGameOver}) {
        GamePhase = phase;
        leave();
        pass();
        EXPECT_EQ(Paused, 0) << phase;
        EXPECT_EQ(GamePlayState().gameInPlay, false) << phase;
        EXPECT_EQ(GamePlayState().onTitle, phase == PhaseTitle) << phase;
    }
    StartPlaying();
    leave();
    EXPECT_EQ(Paused, 1);
    EXPECT_TRUE(Mixer.outputPaused);
    leave();  // minimised and then hidden: still one pause
    pass();
    EXPECT_EQ(Paused, 1);
    WindowProc(GameWindow(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Paused, 1) << "only the pause key resumes";
    Key(VK_F10);
    // Left where the pause key cannot act: the pause waits for play...
    for (int32_t phase : {PhaseReady, PhaseGhostEaten, PhaseLevelClear, PhaseIntermission}) {
        GamePhase = phase;
        leave();
        pass();
        EXPECT_EQ(Paused, 0) << phase;
        GamePhase = PhasePlaying;
        pass();
        EXPECT_EQ(Paused, 1) << phase;
        Key(VK_F10);
        pass();
        EXPECT_EQ(Paused, 0) << "one pause only, " << phase;
    }
    // ... unless the player is back first, or the game has ended meanwhile.
    GamePhase = PhaseReady;
    leave();
    WindowProc(GameWindow(), WM_SETFOCUS, 0, 0);
    GamePhase = PhasePlaying;
    pass();
    EXPECT_EQ(Paused, 0);
    GamePhase = PhaseReady;
    leave();
    GamePhase = PhaseGameOver;
    pass();
    GamePhase = PhasePlaying;
    pass();
    EXPECT_EQ(Paused, 0);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(KeyCommandTest, NoFrameTouchesAVoiceOfAClosedMixer) {
    StartPlaying();
    Key(VK_ESCAPE);
    // Stand-ins where the closed mixer's voices were: nothing may change them now.
    voices.Install();
    voices.chomp.paused = false;
    voices.sirens[0].paused = true;
    PauseVoice(ChompVoice);
    ResumeVoice(SirenVoices[0]);
    EXPECT_FALSE(voices.chomp.paused.load());
    EXPECT_TRUE(voices.sirens[0].paused.load());
    // A whole frame that eats, dies or clears runs without them.
    GamePhase = PhaseLevelClear;
    LevelClearEnd = Now() + 1000;
    Frame();
    EXPECT_FALSE(voices.chomp.paused.load());
    // A null voice is skipped too.
    SoundClosed = 0;
    PauseVoice(nullptr);
    ResumeVoice(nullptr);
}

TEST_F(KeyCommandTest, CreationReadsTheSettingsAndSetsTheCounter) {
    Sound = 40;
    HiScore = 5;
    SaveSettings();
    Sound = 16;
    HiScore = 0;
    EXPECT_EQ(WindowProc(GameWindow(), WM_CREATE, 0, 0), 0);
    EXPECT_EQ(Sound, 40);
    EXPECT_EQ(HiScore, 5);
    EXPECT_EQ(VolumeCounter, 200);
    EXPECT_EQ(WindowProc(GameWindow(), WM_TIMER, FrameTimerId, 0), 0);
}

}  // namespace
