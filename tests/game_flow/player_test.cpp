// The player: its start, turn wishes, the door, reversing, the tunnel wrap; eating with
// the score, the chomp loop, the siren pitch, the speed-ups and the level clear.
#include "game/player.h"
#include <gtest/gtest.h>
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/score.h"
#include "platform/keys.h"
#include "tests/game_flow/flow_fixture.h"

namespace {

void Walk(int pixels) {
    for (int i = 0; i < pixels; ++i) MovePlayer(QueryNeighbours(Player.x, Player.y));
}

using PlayerMoveTest = FlowTest;

TEST_F(PlayerMoveTest, StartsBetweenColumnsAndReachesColumn13After3Pixels) {
    ResetPlayer();
    EXPECT_EQ(Player.x, 82);
    EXPECT_EQ(Player.y, 154);
    EXPECT_EQ(Player.dir, Left);
    EXPECT_EQ(Player.nextStep, Now() + 30);
    EXPECT_EQ(ScatterTimer, Now() + 25000);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(QueryNeighbours(Player.x, Player.y).atCentre, 0);
        Walk(1);
        EXPECT_EQ(Player.frame, i);
    }
    EXPECT_EQ(Player.x, 79);
    EXPECT_EQ(QueryNeighbours(Player.x, Player.y).atCentre, 1);
}

TEST_F(PlayerMoveTest, HeldWishTurnsAtTheFirstOpenCentreAndTheSameKeyClearsIt) {
    ResetPlayer();
    KeyEvent(VK_UP, true);
    PollPlayerKeys();
    EXPECT_EQ(Player.wantUp, 1);
    Walk(3);  // column 13: wall above, the wish waits
    EXPECT_EQ(Player.dir, Left);
    EXPECT_EQ(Player.wantUp, 1);
    Walk(6);  // to column 12's centre
    EXPECT_EQ(Player.dir, Left);
    Walk(1);  // open above: the player turns up and moves
    EXPECT_EQ(Player.dir, Up);
    EXPECT_EQ(Player.x, 73);
    EXPECT_EQ(Player.y, 153);
    EXPECT_EQ(Player.wantUp, 0);
    Player.wantUp = 1;
    PollPlayerKeys();  // the key of the current direction clears a wish
    EXPECT_EQ(Player.wantUp, 0);
    KeyEvent(VK_UP, false);
}

TEST_F(PlayerMoveTest, OppositeKeyCancelsAndLaterKeyWins) {
    ResetPlayer();
    KeyEvent('2', true);
    PollPlayerKeys();
    EXPECT_EQ(Player.wantUp, 1);
    KeyEvent('2', false);
    KeyEvent('8', true);
    PollPlayerKeys();
    EXPECT_EQ(Player.wantUp, 0);
    EXPECT_EQ(Player.wantDown, 1);
    KeyEvent('8', false);
    // Held together, right beats left and down beats up.
    KeyEvent(VK_LEFT, true);
    KeyEvent(VK_RIGHT, true);
    KeyEvent(VK_UP, true);
    KeyEvent(VK_DOWN, true);
    PollPlayerKeys();
    EXPECT_EQ(Player.wantLeft, 0);
    EXPECT_EQ(Player.wantRight, 1);
    EXPECT_EQ(Player.wantUp, 0);
    EXPECT_EQ(Player.wantDown, 1);
    for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) KeyEvent(vk, false);
}

TEST_F(PlayerMoveTest, ReversesOnlyAtCentresExceptInTheTunnel) {
    PlacePlayer(81, 154, Left);
    Player.wantRight = 1;
    Walk(1);
    EXPECT_EQ(Player.x, 80);  // between centres: keeps going
    EXPECT_EQ(Player.wantRight, 1);
    Walk(1);
    Walk(1);  // reaches 79, turns there, and steps right
    EXPECT_EQ(Player.dir, Right);
    EXPECT_EQ(Player.x, 80);
    // In the tunnel any pixel is a centre.
    PlacePlayer(4, 100, Left);
    Player.wantRight = 1;
    Walk(1);
    EXPECT_EQ(Player.dir, Right);
    EXPECT_EQ(Player.x, 5);
}

TEST_F(PlayerMoveTest, DoorAndWallsBlock) {
    for (int32_t x : {79, 82, 85}) {
        PlacePlayer(x, 82, Down);
        Walk(2);
        EXPECT_EQ(Player.y, 82) << x;
        EXPECT_EQ(Player.frame, 0);
    }
    PlacePlayer(7, 22, Up);
    Walk(1);
    EXPECT_EQ(Player.y, 22);
}

TEST_F(PlayerMoveTest, TunnelWrapsBothWays) {
    PlacePlayer(-11, 100, Left);
    Walk(1);
    EXPECT_EQ(Player.x, 175);
    Walk(1);
    EXPECT_EQ(Player.x, 174);
    PlacePlayer(175, 100, Right);
    Walk(1);
    EXPECT_EQ(Player.x, -11);
    Walk(1);
    EXPECT_EQ(Player.x, -10);
}

TEST_F(PlayerMoveTest, StepsOnlyWhenItsDeadlinePassed) {
    StepInterval = 17;
    PlacePlayer(82, 154, Left);
    Player.nextStep = Now();
    StepPlayer(Now());  // not strictly later: no step
    EXPECT_EQ(Player.x, 82);
    StepPlayer(Now() + 1);
    EXPECT_EQ(Player.x, 81);
    EXPECT_EQ(Player.nextStep, Now() + 17);
    StepPlayer(Now() + 1);  // at most one step per deadline
    EXPECT_EQ(Player.x, 81);
}

class EatingTest : public FlowTest {
protected:
    // Steps the player from one pixel east of cell (c, r)'s centre onto it.
    void EatAt(int c, int r) {
        PlacePlayer(6 * c + 2, 6 * r + 16, Left);
        StepPlayer(Now());
    }
    const int32_t& Cell(int c, int r) { return MazeGrid[r * MazeColumns + c]; }
};

TEST_F(EatingTest, DotScoresCountsAndStartsTheChompWhichStopsOnBareFloor) {
    Score = 0;
    EatAt(2, 1);
    EXPECT_EQ(Cell(2, 1), EatenDot);
    EXPECT_EQ(Score, 10);
    EXPECT_EQ(DotsEaten, 1);
    EXPECT_EQ(ChompOn, 1);
    EXPECT_FALSE(voices.chomp.paused.load());
    EatAt(2, 1);  // eaten already: the chomp stops
    EXPECT_EQ(Score, 10);
    EXPECT_EQ(ChompOn, 0);
    EXPECT_TRUE(voices.chomp.paused.load());
    // In the tunnel nothing is edible.
    ChompOn = 1;
    voices.chomp.paused = false;
    PlacePlayer(2, 100, Left);
    StepPlayer(Now());
    EXPECT_EQ(ChompOn, 0);
    EXPECT_EQ(DotsEaten, 1);
}

TEST_F(EatingTest, EnergiserScores50FrightensAndLeavesTheChompAlone) {
    Score = 0;
    SetupLevel();
    EatAt(1, 3);
    EXPECT_EQ(Cell(1, 3), EatenEnergiser);
    EXPECT_EQ(Score, 50);
    EXPECT_EQ(DotsEaten, 1);
    EXPECT_EQ(FrightActive, 1);
    EXPECT_EQ(ChompOn, 0);
    ChompOn = 1;
    EatAt(26, 3);
    EXPECT_EQ(ChompOn, 1);
}

TEST_F(EatingTest, SpeedUpsByADotButNotByAnEnergiser) {
    for (int32_t count : {44, 94, 144, 194}) {
        RestoreDots();
        StepInterval = 17;
        DotsEaten = count - 1;
        EatAt(2, 1);
        EXPECT_EQ(StepInterval, 16) << count;
        DotsEaten = count - 1;
        EatAt(1, 3);
        EXPECT_EQ(StepInterval, 16) << count;
    }
    RestoreDots();
    DotsEaten = 44;
    EatAt(2, 1);
    EXPECT_EQ(StepInterval, 16);
}

TEST_F(EatingTest, SirenRisesAt90_150_190_220) {
    const int32_t counts[] = {90, 150, 190, 220};
    for (int i = 0; i < 4; ++i) {
        for (Voice& v : voices.sirens) v.paused = true;
        voices.sirens[i].paused = false;  // the siren of the count below
        RestoreDots();
        DotsEaten = counts[i] - 1;
        EatAt(i % 2 ? 1 : 2, i % 2 ? 3 : 1);  // by a dot and by an energiser alike
        for (int s = 0; s < 5; ++s) EXPECT_EQ(voices.sirens[s].paused.load(), s != i + 1) << counts[i] << " " << s;
    }
    // A count in between leaves the siren alone.
    for (Voice& v : voices.sirens) v.paused = true;
    RestoreDots();
    DotsEaten = 100;
    EatAt(2, 1);
    for (Voice& v : voices.sirens) EXPECT_TRUE(v.paused.load());
}

TEST_F(EatingTest, The244thCellClearsTheLevel) {
    GamePhase = PhasePlaying;
    FlashCounter = 9;
    DotsEaten = 242;
    EatAt(2, 1);
    EXPECT_EQ(GamePhase, PhasePlaying);
    EatAt(3, 1);
    EXPECT_EQ(DotsEaten, 244);
    EXPECT_EQ(GamePhase, PhaseLevelClear);
    EXPECT_EQ(FlashCounter, 0);
    EXPECT_EQ(LevelClearEnd, Now() + 3500);
}

using DeathTest = FlowTest;

TEST_F(DeathTest, StepsEvery200msAfterTheFirstAndEndsLost) {
    Player.state = PlayerDying;
    Player.frame = 1;
    Player.nextStep = Now() + 1500;
    AdvanceDeath(Now() + 1500);
    EXPECT_EQ(Player.frame, 1);
    AdvanceDeath(Now() + 1501);
    EXPECT_EQ(Player.frame, 2);
    EXPECT_EQ(Player.nextStep, Now() + 1701);
    DrawPlayer();
    EXPECT_EQ(Player.deathSoundDone, 1);
    for (int f = 3; f <= 10; ++f) AdvanceDeath(Player.nextStep + 1);
    EXPECT_EQ(Player.frame, 10);
    EXPECT_EQ(Player.state, PlayerDying);
    DrawPlayer();
    EXPECT_EQ(Player.state, PlayerLost);
}

TEST_F(DeathTest, DeathSoundSilencesEveryLoop) {
    ChompOn = FrightLoopOn = EyesLoopOn = 1;
    for (Voice* v : {&voices.chomp, &voices.fright, &voices.eyes, &voices.sirens[2]}) v->paused = false;
    Player.state = PlayerDying;
    Player.frame = 2;
    Player.deathSoundDone = 0;
    DrawPlayer();
    EXPECT_EQ(ChompOn + FrightLoopOn + EyesLoopOn, 0);
    for (Voice* v : {&voices.chomp, &voices.fright, &voices.eyes, &voices.sirens[2]}) EXPECT_TRUE(v->paused.load());
}

}  // namespace
