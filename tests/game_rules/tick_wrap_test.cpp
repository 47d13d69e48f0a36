// The 32-bit tick count wraps round after 49.7 days: release times, steps, the fright and
// the fruit keep their lengths across the wrap, and a cleared fruit deadline stays cleared.
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/headless/headless_backend.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class TickWrapTest : public RulesTest {
protected:
    void SetUp() override {
        startTick = 0xFFFFF000u;  // 4096 ms before the wrap
        RulesTest::SetUp();
        BeginPlay(1);
    }
};

TEST_F(TickWrapTest, ReleaseAndStepsAcrossTheWrap) {
    const uint32_t start = Now();
    AnimCounter = 0;
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[2].inHouse, 1) << "a release time past the wrap is still ahead";
    Advance(4600);  // past the wrap
    ASSERT_LT(Now(), start);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[2].inHouse, 1) << "pink waits its 4.6 s";
    EXPECT_EQ(Ghosts[1].inHouse, 1);
    Advance(1);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[2].inHouse, 0);
    EXPECT_EQ(Ghosts[1].inHouse, 1) << "cyan is not let out by the wrap";
}

TEST_F(TickWrapTest, AStepJustBeforeTheWrapWaitsItsDelayAcrossIt) {
    backend->SetTick(0xFFFFFFF0u);
    PlaceGhost(1, 40, 46, Right);
    UpdateGhosts(Now());
    ASSERT_EQ(Ghosts[0].x, 41);
    EXPECT_EQ(Ghosts[0].nextStep, 0x00000002u);
    UpdateGhosts(Now());
    Advance(11);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].x, 41) << "18 ms have not passed";
    Advance(11);
    UpdateGhosts(Now());
    EXPECT_EQ(Ghosts[0].x, 42);
}

TEST_F(TickWrapTest, TheFrightLastsItsTimeAcrossTheWrap) {
    PlaceGhost(2, 40, 46, Right);
    Advance(2000);
    FrightenGhosts();  // ends 10 s later, past the wrap
    FrightEndRule(Now());
    BlinkRule(Now());
    SelectLoopSound(Now());
    EXPECT_EQ(FrightActive, 1);
    EXPECT_EQ(BlinkPhase, 0);
    EXPECT_EQ(FrightLoopOn, 1);
    Advance(3000);
    FrightEndRule(Now());
    BlinkRule(Now());
    EXPECT_EQ(Ghosts[1].mode, Frightened);
    EXPECT_EQ(BlinkPhase, 0);
    SelectLoopSound(Now());
    EXPECT_EQ(FrightLoopOn, 1);
    PlacePlayer(40, 46, Right);
    CheckCollisions();
    EXPECT_EQ(Ghosts[1].mode, Eyes) << "still frightened: eaten";
    Advance(7600);
    FrightEndRule(Now());
    EXPECT_EQ(FrightActive, 0);
}

TEST_F(TickWrapTest, AFruitDeadlineOfZeroMeansNoFruitAtAnyTick) {
    for (uint32_t tick : {0x00000010u, 0x7FFFFFF0u, 0x90000000u, 0xFFFFFFF0u}) {
        backend->SetTick(tick);
        FruitUntil = 0;
        FruitPointsUntil = 0;
        FruitShown = 0;
        PlacePlayer(82, 118, Left);
        for (GhostRecord& g : Ghosts) g.mode = Eyes;
        const int32_t before = Score;
        CheckCollisions();
        EXPECT_EQ(Score, before) << std::hex << tick;
        EXPECT_EQ(FruitShown, 0);
        FruitShown = 1;
        FruitAppearanceRule(Now());
        EXPECT_EQ(FruitShown, 0) << "a fruit with no time left goes";
    }
}

}  // namespace
