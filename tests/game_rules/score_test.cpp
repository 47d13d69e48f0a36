// Points and lives: the ghost chain, the collision test with its own tick, the extra life,
// the score wrap, the six-life cap, the per-level table and the resets.
#include "game/score.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/scenes.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class ScoreTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        BeginPlay(1);
        PlacePlayer(100, 46, Right);
    }
    // Ghost g frightened and touching the player, then the collision test.
    void Catch(int g) {
        PlaceGhost(g, Player.x, Player.y, Left, Frightened);
        GamePhase = PhasePlaying;
        CheckCollisions();
    }
};

TEST_F(ScoreTest, FourGhostsInOnePeriodScore3000AndAnEnergiserRestartsTheChain) {
    FrightenGhosts();
    const int32_t points[] = {200, 400, 800, 1600};
    for (int g = 1; g <= 4; ++g) {
        const int32_t before = Score;
        const uint32_t end = FrightEnd;
        Catch(g);
        EXPECT_EQ(Score - before, points[g - 1]) << "ghost " << g;
        EXPECT_EQ(GhostsEaten, g);
        EXPECT_EQ(Ghosts[g - 1].mode, Eyes);
        EXPECT_EQ(Ghosts[g - 1].targetX, 82);
        EXPECT_EQ(Ghosts[g - 1].targetY, 82);
        EXPECT_EQ(GamePhase, PhaseGhostEaten);
        EXPECT_EQ(PhaseTimer, Now() + 500);
        EXPECT_EQ(FrightEnd, end + 500) << "the freeze does not shorten the fright";
        EXPECT_EQ(GhostPointsUntil, Now() + 2000);
        EXPECT_EQ(GhostPointsX, 100);
        EXPECT_EQ(GhostPointsY, 46);
        Advance(600);
    }
    EXPECT_EQ(Score, 3000);

    FrightenGhosts();
    Catch(1);
    Catch(2);
    FrightenGhosts();  // an energiser in between
    Catch(3);
    EXPECT_EQ(Score, 3000 + 200 + 400 + 200);
    ScoreGhost();
    ScoreGhost();
    ScoreGhost();
    EXPECT_EQ(Score, 3000 + 200 + 400 + 200 + 400 + 800 + 1600);
    ScoreGhost();
    EXPECT_EQ(Score, 3000 + 200 + 400 + 200 + 400 + 800 + 1600) << "nothing past the fourth";
}

TEST_F(ScoreTest, CollisionsReadTheirOwnTick) {
    FrightenGhosts();
    PlaceGhost(1, 100, 46, Left, Frightened);
    // The frame began before the end of the fright, but the collision test's own tick has
    // reached it: the ghost is still frightened, yet it catches the player.
    FrightEnd = Now();
    CheckCollisions();
    EXPECT_EQ(Player.state, PlayerDying);
    EXPECT_EQ(Player.frame, 1);
    EXPECT_EQ(Player.nextStep, Now() + 1500);
    EXPECT_EQ(Ghosts[0].mode, Normal) << "the catch calms the ghosts";
    EXPECT_EQ(Score, 0);
}

TEST_F(ScoreTest, TouchingMeansTwoPixelsOrLessOnBothAxes) {
    struct Case {
        int32_t dx, dy;
        bool caught;
    };
    for (Case c : {Case{2, 2, true}, Case{-2, 0, true}, Case{0, -2, true}, Case{3, 0, false}, Case{0, 3, false},
                   Case{-3, -1, false}}) {
        BeginPlay(1);
        PlacePlayer(100, 46, Right);
        PlaceGhost(2, 100 + c.dx, 46 + c.dy, Left);
        CheckCollisions();
        EXPECT_EQ(Player.state == PlayerDying, c.caught) << c.dx << "," << c.dy;
    }
    // Eyes never touch.
    BeginPlay(1);
    PlacePlayer(100, 46, Right);
    PlaceGhost(2, 100, 46, Left, Eyes);
    CheckCollisions();
    EXPECT_EQ(Player.state, PlayerAlive);
}

TEST_F(ScoreTest, OneExtraLifeAt10000) {
    Player.lives = 3;
    Score = 9990;
    ExtraLifeRule(9990);
    EXPECT_EQ(Player.lives, 3);
    const int32_t before = Score;
    Score += 10;
    ExtraLifeRule(before);
    EXPECT_EQ(Player.lives, 4);
    for (int i = 0; i < 100; ++i) {
        const int32_t b = Score;
        Score += 1600;
        ExtraLifeRule(b);
    }
    EXPECT_EQ(Player.lives, 4) << "only the crossing counts";
}

TEST_F(ScoreTest, TheScoreWrapsAt9999999AndAClimbPast10000AgainGivesAnotherLife) {
    Player.lives = 2;
    Score = 9999990 + 10;
    ExtraLifeRule(9999990);
    EXPECT_EQ(Score, 1);
    Score = 9999998;
    ExtraLifeRule(9999998);
    EXPECT_EQ(Score, 9999998) << "below the wrap nothing changes";
    Score = 9999000 + 1600;
    ExtraLifeRule(9999000);
    EXPECT_EQ(Score, 601);
    const int32_t before = Score;
    Score = 10000;
    ExtraLifeRule(before);
    EXPECT_EQ(Player.lives, 3);
}

TEST_F(ScoreTest, LivesAreCappedAtSix) {
    Player.lives = 6;
    Score = 10000;
    ExtraLifeRule(9999);
    EXPECT_EQ(Player.lives, 6);
    Player.lives = 9;
    ExtraLifeRule(Score);
    EXPECT_EQ(Player.lives, 6);
}

TEST_F(ScoreTest, TheLevelTableSetsSpeedFrightAndFruitTimes) {
    struct Row {
        int32_t level, step, fright, fruit;
    };
    const Row rows[] = {
        {1, 17, 10000, 15000}, {2, 14, 8000, 15000}, {3, 13, 7000, 12000}, {4, 12, 5000, 14000}, {5, 11, 7000, 10000},
        {6, 10, 5000, 12000},  {7, 9, 7000, 8000},   {8, 8, 5000, 10000},  {9, 6, 7000, 6000},   {10, 4, 5000, 8000},
        {11, 1, 7000, 4000},   {12, 1, 5000, 6000},  {13, 1, 1500, 3000},  {14, 1, 1500, 3000},  {15, 1, 1500, 3000},
        {16, 1, -3000, 3000},  {21, 1, -3000, 3000}, {0, 1, -3000, 3000},  {-4, 1, -3000, 3000}, {1000, 1, -3000, 3000},
    };
    for (const Row& r : rows) {
        Level = r.level;
        FruitCount = 2;
        FruitShown = 1;
        FrightActive = 1;
        SetupLevel();
        EXPECT_EQ(StepInterval, r.step) << "level " << r.level;
        EXPECT_EQ(FrightDuration, r.fright) << "level " << r.level;
        EXPECT_EQ(FruitDuration, r.fruit) << "level " << r.level;
        EXPECT_EQ(FruitCount, 0);
        EXPECT_EQ(FruitShown, 0);
        EXPECT_EQ(FrightActive, 0);
        EXPECT_EQ(FruitUntil, Now() - 100) << "the timers reset after the fruit";
        EXPECT_EQ(FrightEnd, Now() - 100);
    }
}

TEST_F(ScoreTest, ANewGameStartsAtLevelOneWithThreeLivesAndEveryDeadlinePast) {
    Level = 7;
    Score = 1234;
    DotsEaten = 100;
    Player.lives = 1;
    SceneIndex = 2;
    SceneStarted = 1;
    SceneDirection = 1;
    TearCounter = 5;
    ResetGame();
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(DotsEaten, 0);
    EXPECT_EQ(Player.lives, 3);
    EXPECT_EQ(SceneIndex, 0);
    EXPECT_EQ(SceneStarted, 0);
    EXPECT_EQ(SceneDirection, -1);
    EXPECT_EQ(TearCounter, 0);
    for (uint32_t t : {FrightEnd, PhaseTimer, LevelClearEnd, FruitUntil, FruitPointsUntil}) EXPECT_EQ(t, Now() - 100);
}

}  // namespace
