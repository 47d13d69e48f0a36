// The game frame's phases: READY! times, the level clear and the levels after it,
// the ghost-eaten freeze, the lives and GAME OVER, and the two events of one frame.
#include "game/game_frame.h"
#include <gtest/gtest.h>
#include "app/window_proc.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/scenes.h"
#include "game/score.h"
#include "platform/headless/headless_backend.h"
#include "tests/game_flow/flow_fixture.h"

namespace {

class GameFrameTest : public FlowTest {
protected:
    void SetUp() override {
        openDisplay = true;
        FlowTest::SetUp();
    }
    // Frames until the phase leaves `phase`: the milliseconds from `start` to the frame that left it.
    uint32_t Lasts(int32_t phase, uint32_t start) {
        for (int i = 0; i < 2000 && GamePhase == phase; ++i) Frame();
        return Now() - 11 - start;
    }
    // A frame; returns the tick it ran at.
    uint32_t TimedFrame() {
        const uint32_t at = Now();
        Frame();
        return at;
    }
    // Takes every edible cell but the dot of cell (2, 1), with the player one pixel east of it.
    void OneDotLeft() {
        for (int32_t& cell : MazeGrid) {
            if (cell == Dot) cell = EatenDot;
            if (cell == Energiser) cell = EatenEnergiser;
        }
        MazeGrid[1 * MazeColumns + 2] = Dot;
        DotsEaten = 243;
        PlacePlayer(14, 22, Left);
    }
    // Ghost 1 waits at the player's next pixel and will not step away this frame.
    void GhostAtNextPixel(int32_t mode) {
        Ghosts[0].x = 13;
        Ghosts[0].y = 22;
        Ghosts[0].mode = mode;
        Ghosts[0].inHouse = 0;
        Ghosts[0].nextStep = Now() + 100000;
    }
};

TEST_F(GameFrameTest, ReadyLasts4300AfterANewGameAnd2500AtALevelStart) {
    StartNewGame();
    voices.Install();
    EXPECT_EQ(GamePhase, PhaseReady);
    EXPECT_EQ(Player.state, PlayerReady);
    EXPECT_EQ(PhaseTimer, Now() + 4300);
    const uint32_t ready = Lasts(PhaseReady, Now());
    EXPECT_GE(ready, 4300u);
    EXPECT_LT(ready, 4311u);
    EXPECT_EQ(GamePhase, PhasePlaying);
    EXPECT_EQ(Player.state, PlayerAlive);
    EXPECT_EQ(StepInterval, 17);
    StartRound();
    EXPECT_EQ(PhaseTimer, Now() + 2500);
    const uint32_t round = Lasts(PhaseReady, Now());
    EXPECT_GE(round, 2500u);
    EXPECT_LT(round, 2511u);
}

TEST_F(GameFrameTest, LastDotFlashes3500msThenTheNextLevelStartsWithItsDots) {
    StartPlaying();
    Level = 1;
    OneDotLeft();
    const uint32_t eaten = TimedFrame();
    ASSERT_EQ(GamePhase, PhaseLevelClear);
    EXPECT_EQ(ChompOn, 1);
    Frame();
    EXPECT_EQ(ChompOn, 0);  // the flash silences the loops
    const uint32_t flash = Lasts(PhaseLevelClear, eaten);
    EXPECT_GE(flash, 3500u);
    EXPECT_LT(flash, 3500u + 11);
    EXPECT_EQ(GamePhase, PhaseReady);
    EXPECT_EQ(Level, 2);
    EXPECT_EQ(DotsEaten, 0);
    EXPECT_EQ(MazeGrid[1 * MazeColumns + 2], Dot);
    EXPECT_EQ(MazeGrid[3 * MazeColumns + 1], Energiser);
    EXPECT_EQ(Player.x, PlayerStartX);
}

TEST_F(GameFrameTest, LevelsAfter20GoTo21ThenThroughTheSceneTo18) {
    const uint32_t now = Now();
    GamePhase = PhaseLevelClear;
    LevelClearEnd = now;
    Level = 20;
    Frame();
    EXPECT_EQ(Level, 21);
    EXPECT_EQ(GamePhase, PhaseReady);
    GamePhase = PhaseLevelClear;
    LevelClearEnd = Now();
    Frame();
    EXPECT_EQ(GamePhase, PhaseIntermission);
    EXPECT_EQ(Level, 21);
    SceneIndex = 2;
    AnimCounter = 5;
    SceneStarted = 1;
    GamePhase = PhaseSceneDone;
    Frame();
    EXPECT_EQ(Level, 18);
    EXPECT_EQ(SceneIndex, 0);
    EXPECT_EQ(AnimCounter, 0);
    EXPECT_EQ(SceneStarted, 0);
    EXPECT_EQ(SceneDirection, -1);
    EXPECT_EQ(GamePhase, PhaseReady);
    for (int32_t level : {1, 2, 5, 9, 13, 16, 17, 18, 20, 21})
        EXPECT_EQ(NextLevel(level), level == 21 ? 18 : level + 1);
}

TEST_F(GameFrameTest, ClearingLevel2GoesToTheFirstSceneAndThenLevel3) {
    GamePhase = PhaseLevelClear;
    LevelClearEnd = Now() + 3500;
    Level = 2;
    Frame();
    EXPECT_EQ(GamePhase, PhaseLevelClear);
    Advance(3500);
    Frame();
    EXPECT_EQ(GamePhase, PhaseIntermission);
    GamePhase = PhaseSceneDone;
    Frame();
    EXPECT_EQ(Level, 3);
    EXPECT_EQ(SceneIndex, 1);
}

TEST_F(GameFrameTest, LastDotAndAFrightenedGhostInOneFrameStillClearTheLevel) {
    StartPlaying();
    OneDotLeft();
    FrightenGhosts();
    GhostAtNextPixel(Frightened);
    const int32_t score = Score;
    const uint32_t eaten = TimedFrame();
    EXPECT_EQ(Score, score + 10 + 200);
    EXPECT_EQ(GamePhase, PhaseLevelClear);
    EXPECT_EQ(Lasts(PhaseLevelClear, eaten) / 10, 350u);
    EXPECT_EQ(GamePhase, PhaseReady);
}

TEST_F(GameFrameTest, CaughtOnTheLastDotTheLevelStillClearsAndNoLifeIsLost) {
    StartPlaying();
    OneDotLeft();
    GhostAtNextPixel(Normal);
    const int32_t lives = Player.lives;
    Frame();
    EXPECT_EQ(GamePhase, PhaseLevelClear);
    EXPECT_EQ(Player.state, PlayerDying);
    Lasts(PhaseLevelClear, Now());
    EXPECT_EQ(Player.frame, 0);
    EXPECT_EQ(Player.state, PlayerReady);
    EXPECT_EQ(Player.lives, lives);
}

TEST_F(GameFrameTest, GhostEatenFreezes500msThenPlayGoesOn) {
    StartPlaying();
    PlacePlayer(14, 22, Left);
    FrightenGhosts();
    GhostAtNextPixel(Frightened);
    const uint32_t caught = TimedFrame();
    ASSERT_EQ(GamePhase, PhaseGhostEaten);
    const int32_t x = Player.x, ghostX = Ghosts[1].x, ghostY = Ghosts[1].y;
    while (Now() < PhaseTimer) {
        Frame();
        ASSERT_EQ(GamePhase, PhaseGhostEaten);
        EXPECT_EQ(Player.x, x);  // nothing moves meanwhile
        EXPECT_EQ(Ghosts[1].x, ghostX);
        EXPECT_EQ(Ghosts[1].y, ghostY);
    }
    const uint32_t freeze = Lasts(PhaseGhostEaten, caught);
    EXPECT_GE(freeze, 500u);
    EXPECT_LT(freeze, 500u + 11);
    EXPECT_EQ(GamePhase, PhasePlaying);
}

TEST_F(GameFrameTest, LostLifeGoesBackToReadyWithTheDotsLeft) {
    StartPlaying();
    MazeGrid[1 * MazeColumns + 2] = EatenDot;
    DotsEaten = 1;
    Player.state = PlayerLost;
    Frame();
    EXPECT_EQ(Player.lives, 2);
    EXPECT_EQ(GamePhase, PhaseReady);
    EXPECT_EQ(PhaseTimer, Now() - 11 + 2500);
    EXPECT_EQ(MazeGrid[1 * MazeColumns + 2], EatenDot);
    EXPECT_EQ(DotsEaten, 1);
}

TEST_F(GameFrameTest, GameOverTakesNoFurtherLives) {
    StartPlaying();
    Player.lives = 1;
    Player.state = PlayerLost;
    Frame();
    EXPECT_EQ(GamePhase, PhaseGameOver);
    EXPECT_EQ(Player.lives, 0);
    for (int i = 0; i < 50; ++i) Frame();
    EXPECT_EQ(GamePhase, PhaseGameOver);
    EXPECT_EQ(Player.lives, 0);
}

TEST_F(GameFrameTest, CountersStepEveryCommonFrameAndTheFlashLeavesAnimAlone) {
    StartPlaying();
    AnimCounter = 7;
    FlashCounter = 23;
    Frame();
    EXPECT_EQ(AnimCounter, 0);
    EXPECT_EQ(FlashCounter, 0);
    GamePhase = PhaseLevelClear;
    LevelClearEnd = Now() + 1000;
    FlashCounter = 11;
    Frame();
    EXPECT_EQ(AnimCounter, 0);
    EXPECT_EQ(FlashCounter, 12);
}

TEST_F(GameFrameTest, DeadlinesSurviveTheTickWrapping) {
    backend->SetTick(0xFFFFFFFFu - 3000);
    StartNewGame();
    voices.Install();
    const uint32_t ready = Lasts(PhaseReady, Now());
    EXPECT_GE(ready, 4300u);
    EXPECT_LT(ready, 4311u);
    EXPECT_EQ(GamePhase, PhasePlaying);
    for (int i = 0; i < 20; ++i) Frame();
    EXPECT_LT(Player.x, PlayerStartX);  // the player walks on after the wrap
}

}  // namespace
