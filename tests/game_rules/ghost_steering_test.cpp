// Steering at cell centres: the door column and its detour, the fall-back orders, the
// tunnel, the arrivals that set each ghost's next target, scatter and flee targets.
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/player.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class GhostSteeringTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        BeginPlay(1);
    }
    GhostRecord& G(int g) { return Ghosts[g - 1]; }
    void Aim(int g, int32_t tx, int32_t ty) {
        G(g).targetX = tx;
        G(g).targetY = ty;
    }
};

TEST_F(GhostSteeringTest, AtTheDoorWithTheTargetFartherAcrossTheGhostDipsIntoTheDoorAndComesBack) {
    // Moving right, target to the left (dx > dy): fall-back 5 takes the door downward.
    PlaceGhost(1, 82, 82, Right);
    Aim(1, 40, 85);
    StepGhost(1);
    EXPECT_EQ(G(1).dir, Down);
    EXPECT_EQ(G(1).y, 83);
    StepGhost(1);  // the door column sends it straight back up
    EXPECT_EQ(G(1).dir, Up);
    EXPECT_EQ(G(1).targetY, 82);
    EXPECT_EQ(G(1).chasing, 1) << "red starts hunting";
    EXPECT_EQ(G(1).y, 82);
    StepGhost(1);
    EXPECT_EQ(G(1).dir, Left);
    EXPECT_EQ(G(1).x, 81);

    // The same moving left with the target to the right; only red starts to hunt.
    PlaceGhost(2, 82, 82, Left);
    Aim(2, 120, 85);
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Down);
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Up);
    EXPECT_EQ(G(2).chasing, 0);
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Right);
    EXPECT_EQ(G(2).x, 83);
    EXPECT_EQ(G(2).y, 82);
}

TEST_F(GhostSteeringTest, AtTheDoorWithTheTargetFartherUpOrDownTheGhostPasses) {
    // dy > dx, dy = dx, and targets below the house: the door is never the way down.
    for (auto [tx, ty] : {std::pair{70, 40}, std::pair{70, 70}, std::pair{82, 150}, std::pair{90, 190}}) {
        PlaceGhost(1, 82, 82, Right);
        Aim(1, tx, ty);
        StepGhost(1);
        EXPECT_EQ(G(1).dir, Right) << ty;
        EXPECT_EQ(G(1).x, 83);
        EXPECT_EQ(G(1).y, 82);
    }
}

TEST_F(GhostSteeringTest, WithAFixedTargetTheDropHappensOneCellEarlierAtColumn13) {
    PlaceGhost(3, 79, 82, Right);
    Aim(3, 20, 85);
    StepGhost(3);
    EXPECT_EQ(G(3).dir, Down);
    EXPECT_EQ(G(3).x, 79);
    EXPECT_EQ(G(3).y, 83);
}

TEST_F(GhostSteeringTest, AtAnLCornerLeadingAwayFromTheTargetTheGhostReverses) {
    PlaceGhost(4, 7, 22, Left);  // top-left corner: open right and down only
    Aim(4, 7, 10);
    StepGhost(4);
    EXPECT_EQ(G(4).dir, Right);
    EXPECT_EQ(G(4).x, 8);
    PlaceGhost(4, 7, 22, Left);
    Aim(4, 7, 100);
    StepGhost(4);
    EXPECT_EQ(G(4).dir, Down);
    EXPECT_EQ(G(4).y, 23);
}

TEST_F(GhostSteeringTest, HorizontalFirstPrefersTowardThenAcrossThenTheDoorlessWayDown) {
    // Row 5 at column 6 (37, 46): open all round.
    PlaceGhost(2, 37, 46, Right);
    Aim(2, 10, 60);  // dx > dy, target left: left is the reverse, so down (toward ty)
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Down);
    PlaceGhost(2, 37, 46, Right);
    Aim(2, 10, 30);  // target left and up: up
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Up);
    PlaceGhost(2, 37, 46, Down);
    Aim(2, 10, 30);  // moving down: left is allowed
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Left);
    // Vertical first.
    PlaceGhost(2, 37, 46, Left);
    Aim(2, 60, 100);
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Down);
    PlaceGhost(2, 37, 46, Up);
    Aim(2, 60, 100);  // down is the reverse: toward tx, right
    StepGhost(2);
    EXPECT_EQ(G(2).dir, Right);
}

TEST_F(GhostSteeringTest, TheTunnelRowIsCrossedWithoutTurningAndWraps) {
    PlaceGhost(1, 30, 100, Left);
    Aim(1, 150, 100);
    for (int i = 0; i < 42; ++i) {
        StepGhost(1);
        ASSERT_EQ(G(1).dir, Left) << "at x " << G(1).x;
    }
    EXPECT_EQ(G(1).x, 175);
    PlaceGhost(1, 145, 100, Right);
    Aim(1, 10, 300);
    for (int i = 0; i < 31; ++i) StepGhost(1);
    EXPECT_EQ(G(1).x, -11);
    EXPECT_EQ(G(1).dir, Right);
}

TEST_F(GhostSteeringTest, LeavingTheHouseEachGhostTakesItsFirstWaypoint) {
    struct Case {
        int ghost;
        int32_t tx, ty, dir;
    };
    for (Case c : {Case{1, 37, 93, Left}, Case{2, 157, 190, Right}, Case{3, 37, 93, Left}, Case{4, 7, 190, Left}}) {
        PlaceGhost(c.ghost, 82, 82, Up);
        Aim(c.ghost, 82, 82);
        StepGhost(c.ghost);
        EXPECT_EQ(G(c.ghost).targetX, c.tx) << "ghost " << c.ghost;
        EXPECT_EQ(G(c.ghost).targetY, c.ty);
        EXPECT_EQ(G(c.ghost).dir, c.dir);
    }
    // A hunting red ghost that meets the exit point keeps its target.
    PlaceGhost(1, 82, 82, Up);
    Aim(1, 82, 82);
    G(1).chasing = 1;
    StepGhost(1);
    EXPECT_EQ(G(1).targetX, 82);
}

TEST_F(GhostSteeringTest, ArrivalsLeadRedToItsCornerAndTheOthersToThePlayersCell) {
    PlacePlayer(100, 46, Right);
    PlaceGhost(1, 37, 93, Up);
    Aim(1, 37, 93);
    StepGhost(1);
    EXPECT_EQ(G(1).targetX, 157);
    EXPECT_EQ(G(1).targetY, 22);
    PlaceGhost(3, 37, 93, Up);
    Aim(3, 37, 93);
    StepGhost(3);
    EXPECT_EQ(G(3).targetX, 97) << "the centre of the player's cell";
    EXPECT_EQ(G(3).targetY, 46);
    // Red at its corner starts to hunt the player's exact position.
    PlaceGhost(1, 157, 22, Up);
    Aim(1, 157, 22);
    StepGhost(1);
    EXPECT_EQ(G(1).chasing, 1);
    G(1).nextStep = Now() - 1;
    UpdateGhosts(Now());
    EXPECT_EQ(G(1).targetX, 100);
    EXPECT_EQ(G(1).targetY, 46);
    // Cyan at its corner heads for the player's cell; frightened ghosts do the same.
    PlaceGhost(2, 157, 190, Down, Frightened);
    Aim(2, 157, 190);
    StepGhost(2);
    EXPECT_EQ(G(2).targetX, 97);
    EXPECT_EQ(G(2).targetY, 46);
}

TEST_F(GhostSteeringTest, ThePlayersCellInTheTunnelIsWorkedOutTruncatingTowardZero) {
    for (auto [px, want] : {std::pair{-5, -5}, std::pair{-3, 1}, std::pair{-11, -11}, std::pair{170, 169}}) {
        PlacePlayer(px, 100, Left);
        PlaceGhost(2, 40, 46, Right);
        Aim(2, 40, 46);
        StepGhost(2);
        EXPECT_EQ(G(2).targetX, want) << "player at x " << px;
        EXPECT_EQ(G(2).targetY, 100);
    }
}

TEST_F(GhostSteeringTest, FleeSendsTheGhostOfThePlayersQuarterToTheOppositeCorner) {
    struct Case {
        int32_t px, py;
        int fleeing;
        int32_t tx, ty;
    };
    const Case cases[] = {
        {150, 190, 2, 7, 22},    // right and lower
        {150, 22, 1, 7, 190},    // right and upper
        {10, 190, 4, 157, 22},   // left and lower
        {10, 22, 3, 157, 190},   // left and upper
        {82, 110, 3, 157, 190},  // x 82 is left, y 110 is upper
        {83, 111, 2, 7, 22},
    };
    for (const Case& c : cases) {
        PlacePlayer(c.px, c.py, Left);
        for (int g = 1; g <= 4; ++g) {
            PlaceGhost(g, 40, 46, Right);
            Aim(g, 1, 1);
            G(g).chasing = 1;
        }
        FleeGhosts();
        for (int g = 1; g <= 4; ++g) {
            SCOPED_TRACE(testing::Message() << "player (" << c.px << ", " << c.py << ") ghost " << g);
            const bool fleeing = g == c.fleeing;
            EXPECT_EQ(G(g).targetX, fleeing ? c.tx : G(g).homeX);
            EXPECT_EQ(G(g).targetY, fleeing ? c.ty : G(g).homeY);
            EXPECT_EQ(G(g).dir, Left) << "reversed";
            EXPECT_EQ(G(g).chasing, 0);
        }
    }
}

TEST_F(GhostSteeringTest, FleeAndScatterLeaveAloneTheHouseTheExitAndTheFrightened) {
    // Cyan, pink and orange still wait in the house.
    G(1).targetX = 82;  // red on its way out of the door column
    PlaceGhost(2, 40, 46, Right, Frightened);
    Aim(2, 1, 1);
    G(3).inHouse = G(4).inHouse = 1;
    FleeGhosts();
    ScatterGhosts();
    EXPECT_EQ(G(1).targetX, 82);
    EXPECT_EQ(G(1).dir, Left);
    EXPECT_EQ(G(2).targetX, 1);
    EXPECT_EQ(G(2).dir, Right);
    for (int g = 3; g <= 4; ++g) {
        EXPECT_EQ(G(g).targetX, g == 3 ? 82 : 94);
        EXPECT_EQ(G(g).inHouse, 1);
    }
}

TEST_F(GhostSteeringTest, ScatterEveryTwentyFiveSecondsSendsGhostsHomeWithoutTurning) {
    PlacePlayer(100, 46, Right);
    PlaceGhost(1, 40, 46, Right);
    Aim(1, 100, 46);
    G(1).chasing = 1;
    const uint32_t due = ScatterTimer;
    ScatterRule(due);
    EXPECT_EQ(G(1).targetX, 100) << "not before the timer has passed";
    ScatterRule(due + 1);
    EXPECT_EQ(G(1).targetX, 157);
    EXPECT_EQ(G(1).targetY, 22);
    EXPECT_EQ(G(1).chasing, 0);
    EXPECT_EQ(G(1).dir, Right);
    EXPECT_EQ(ScatterTimer, Now() + 25000);
}

}  // namespace
