// The house: release times after the ready phase, the waiting ghosts' bobbing, the step
// delays by mode and place, and the eyes dropping through the door and reviving.
#include <algorithm>
#include <iterator>
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class GhostHouseTest : public RulesTest {};

TEST_F(GhostHouseTest, GhostsLeaveTheHouseInTurnAfterTheReadyPhase) {
    BeginPlay(1);
    const uint32_t start = Now();
    AnimCounter = 0;
    struct Release {
        int ghost;
        uint32_t after;
        int32_t dir;
    };
    // Pink after 4.6 s straight up, cyan after 6 s to the right, orange after 10 s to the left.
    for (Release r : {Release{3, 4600, Up}, Release{2, 6000, Right}, Release{4, 10000, Left}}) {
        SCOPED_TRACE(r.ghost);
        Advance(start + r.after - Now());
        UpdateGhosts(Now());
        EXPECT_EQ(Ghosts[r.ghost - 1].inHouse, 1) << "released on its release tick";
        Advance(1);
        UpdateGhosts(Now());
        const GhostRecord& g = Ghosts[r.ghost - 1];
        EXPECT_EQ(g.inHouse, 0);
        EXPECT_EQ(g.targetX, 82);
        EXPECT_EQ(g.targetY, 82);
        EXPECT_EQ(g.dir, r.dir);
    }
    EXPECT_EQ(Ghosts[0].inHouse, 0) << "red never waits";
}

TEST_F(GhostHouseTest, WaitingGhostsBobOnePixelEveryEighthFrameBetween97And103) {
    BeginPlay(1);
    int32_t lowest = 100, highest = 100, moves = 0;
    for (int frame = 0; frame < 8 * 40; ++frame) {
        AnimCounter = frame % 8;
        const int32_t y = Ghosts[1].y;
        UpdateGhosts(Now());
        if (Ghosts[1].y != y) {
            ++moves;
            EXPECT_EQ(AnimCounter, 7) << "frame " << frame;
        }
        lowest = std::min(lowest, Ghosts[1].y);
        highest = std::max(highest, Ghosts[1].y);
        EXPECT_EQ(Ghosts[1].x, 70);
        Advance(11);  // 3.5 s in all: cyan is still waiting
    }
    EXPECT_EQ(moves, 40);
    EXPECT_EQ(lowest, 97);
    EXPECT_EQ(highest, 103);
    EXPECT_EQ(Ghosts[1].inHouse, 1);
}

TEST_F(GhostHouseTest, StepDelaysAtLevelOne) {
    BeginPlay(1);
    ASSERT_EQ(StepInterval, 17);
    // In the open corridor of row 5, each ghost by its own character.
    const uint32_t normal[4] = {18, 20, 17, 19};
    for (int g = 1; g <= 4; ++g) {
        PlaceGhost(g, 40, 46, Right);
        UpdateGhosts(Now());
        EXPECT_EQ(Ghosts[g - 1].nextStep - Now(), normal[g - 1]) << "ghost " << g;
        Ghosts[g - 1].nextStep = Now() + 100000;
    }
    // The slow part of the tunnel: 20 ms more, but not for the frightened nor the eyes.
    PlaceGhost(1, 20, 100, Left);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].inTunnel, 1);
    EXPECT_EQ(Ghosts[0].nextStep - Now(), 38u);
    PlaceGhost(1, 26, 100, Left);  // steps to 25: still the fast part
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].inTunnel, 0);
    EXPECT_EQ(Ghosts[0].nextStep - Now(), 18u);
    PlaceGhost(1, 150, 100, Right);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].nextStep - Now(), 38u);
    PlaceGhost(1, 20, 100, Left, Frightened);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].nextStep - Now(), 51u);
    PlaceGhost(2, 40, 46, Right, Frightened);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[1].nextStep - Now(), 51u);
    PlaceGhost(1, 20, 100, Left, Eyes);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].nextStep - Now(), 3u);
}

TEST_F(GhostHouseTest, FrightenedDelayIsTenMoreOnceTheStepIsTenOrLess) {
    struct Case {
        int32_t level;
        uint32_t delay;
    };
    // Three times the step while it is above 10 ms, the step plus 10 from there on.
    for (Case c : {Case{5, 33}, Case{6, 20}, Case{10, 14}, Case{11, 11}}) {
        BeginPlay(c.level);
        PlaceGhost(3, 40, 46, Right, Frightened);
        UpdateGhosts(Now());
        EXPECT_EQ(Ghosts[2].nextStep - Now(), c.delay) << "level " << c.level;
    }
    BeginPlay(11);
    StepInterval = -3;  // four speed-ups past level 11: a step every frame
    PlaceGhost(3, 40, 46, Right);
    UpdateGhosts(Now());
    EXPECT_EQ(int32_t(Ghosts[2].nextStep - Now()), -3);
}

TEST_F(GhostHouseTest, EyesDropThroughTheDoorReviveAt82And102AndLeaveUpward) {
    BeginPlay(1);
    PlaceGhost(2, 70, 82, Right, Eyes);
    Ghosts[1].targetX = 82;
    Ghosts[1].targetY = 82;
    StepGhostPixels(2, 12);
    EXPECT_EQ(Ghosts[1].x, 82);
    EXPECT_EQ(Ghosts[1].y, 82);
    StepGhostPixels(2, 1);
    EXPECT_EQ(Ghosts[1].dir, Down);
    EXPECT_EQ(Ghosts[1].targetY, 102);
    EXPECT_EQ(Ghosts[1].y, 83);
    StepGhostPixels(2, 19);
    ASSERT_EQ(Ghosts[1].y, 102);
    EXPECT_EQ(Ghosts[1].mode, Eyes);
    // The revival takes a frame of its own, without a step.
    Ghosts[1].nextStep = Now() - 1;
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[1].mode, Normal);
    EXPECT_EQ(Ghosts[1].dir, Up);
    EXPECT_EQ(Ghosts[1].y, 102);
    StepGhostPixels(2, 20);
    EXPECT_EQ(Ghosts[1].x, 82);
    EXPECT_EQ(Ghosts[1].y, 82);
    StepGhostPixels(2, 1);
    EXPECT_EQ(Ghosts[1].targetX, 157) << "out of the house, cyan heads for its corner";
    EXPECT_EQ(Ghosts[1].targetY, 190);
    EXPECT_EQ(Ghosts[1].dir, Right);
    EXPECT_EQ(Ghosts[1].x, 83);
}

TEST_F(GhostHouseTest, EyesAwayFromTheDoorColumnHeadForTheExitPoint) {
    BeginPlay(1);
    PlaceGhost(4, 7, 190, Right, Eyes);
    Ghosts[3].targetX = 0;
    Ghosts[3].targetY = 0;
    StepGhost(4);
    EXPECT_EQ(Ghosts[3].targetX, 82);
    EXPECT_EQ(Ghosts[3].targetY, 82);
    StepGhostPixels(4, 1000);
    EXPECT_EQ(Ghosts[3].mode, Normal) << "the eyes found their way home and revived";
}

TEST_F(GhostHouseTest, TheSirenResumesAtTheDotPitchWhenTheLastEyesRevive) {
    BeginPlay(1);
    DotsEaten = 160;
    EyesLoopOn = 1;
    voices.eyes.paused = false;
    PlaceGhost(1, 82, 102, Up, Eyes);
    PlaceGhost(2, 40, 46, Right, Eyes);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].mode, Normal);
    EXPECT_EQ(voices.PlayingSiren(), -1) << "other eyes still run home";
    EXPECT_FALSE(voices.eyes.paused);
    Ghosts[1].x = 82;
    Ghosts[1].y = 102;
    Ghosts[1].nextStep = Now() - 1;
    Ghosts[0].nextStep = Now() + 1000;
    UpdateGhosts(Now());
    EXPECT_EQ(voices.PlayingSiren(), 2) << "150..189 eaten: the third siren";
    EXPECT_TRUE(voices.eyes.paused);
    EXPECT_TRUE(voices.fright.paused);
    EXPECT_EQ(EyesLoopOn, 0);
    EXPECT_EQ(FrightLoopOn, 0);
}

TEST_F(GhostHouseTest, SirenPitchFollowsTheEatenCount) {
    const int32_t counts[] = {0, 89, 90, 149, 150, 189, 190, 219, 220, 244};
    const int want[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4};
    for (size_t i = 0; i < std::size(counts); ++i) {
        EXPECT_EQ(SirenForDots(counts[i]), want[i]) << counts[i];
        for (Voice& v : voices.sirens) v.paused = true;
        DotsEaten = counts[i];
        StartSiren();
        EXPECT_EQ(voices.PlayingSiren(), want[i]);
    }
    StopSirens();
    EXPECT_EQ(voices.PlayingSiren(), -1);
}

}  // namespace
