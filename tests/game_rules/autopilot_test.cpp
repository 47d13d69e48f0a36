// The autopilot: its presses of the action key on the title and game-over screens, its
// choice at a cell centre (away from hunters, toward dots and frightened ghosts), and the
// arrow key it holds for that choice.
#include "run/autopilot.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "platform/keys.h"
#include "platform/win_types.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class AutopilotTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        BeginPlay(1);
        for (GhostRecord& g : Ghosts) g.mode = Eyes;  // nobody hunts unless a test says so
    }
    void TearDown() override {
        DisableAutopilot();
        RulesTest::TearDown();
    }
    static bool KeyHeld(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
    // Passes until the action key goes down; -1 if it never does within the limit.
    int PassesUntilReturn(int limit) {
        for (int pass = 0; pass < limit; ++pass) {
            AutopilotPass();
            if (KeyHeld(VK_RETURN)) return pass;
        }
        return -1;
    }
    void EatAllBut(int c, int r) {
        for (int32_t& cell : MazeGrid)
            if (cell == Dot) cell = EatenDot;
        MazeGrid[r * MazeColumns + c] = Dot;
    }
};

TEST_F(AutopilotTest, PressesTheActionKeyOnTheTitleAndReleasesItOnTheNextPass) {
    GamePhase = PhaseTitle;
    EnableAutopilot(7);
    const int first = PassesUntilReturn(1000);
    ASSERT_GE(first, 20);
    AutopilotPass();
    EXPECT_FALSE(KeyHeld(VK_RETURN));
    EXPECT_EQ(PassesUntilReturn(900), -1) << "one press per visit of the screen";

    // The same seed waits the same; the seeds do not all wait alike.
    GamePhase = PhaseGameOver;
    EnableAutopilot(7);
    const int again = PassesUntilReturn(1000);
    AutopilotPass();
    GamePhase = PhaseTitle;
    EnableAutopilot(7);
    EXPECT_EQ(PassesUntilReturn(1000), first);
    AutopilotPass();
    EXPECT_GE(again, 60);
    bool differ = false;
    for (uint32_t seed = 1; seed < 10 && !differ; ++seed) {
        EnableAutopilot(seed);
        const int wait = PassesUntilReturn(1000);
        AutopilotPass();
        differ = wait != first;
    }
    EXPECT_TRUE(differ);
}

TEST_F(AutopilotTest, DecidesOnlyOnCellCentres) {
    EnableAutopilot(1);
    PlacePlayer(40, 46, Right);
    EXPECT_EQ(AutopilotChoice(), 0);
    PlacePlayer(3, 100, Left);
    EXPECT_EQ(AutopilotChoice(), 0) << "in the tunnel it runs on";
    PlacePlayer(37, 46, Right);
    EXPECT_NE(AutopilotChoice(), 0);
}

TEST_F(AutopilotTest, TurnsAwayFromAHunterAhead) {
    EnableAutopilot(3);
    // Row 5, column 6: open all round; a hunting ghost one cell to the right.
    PlacePlayer(37, 46, Right);
    PlaceGhost(1, 43, 46, Left);
    for (int i = 0; i < 20; ++i) EXPECT_NE(AutopilotChoice(), Right);
    PlaceGhost(1, 37, 52, Up);  // now just below
    for (int i = 0; i < 20; ++i) EXPECT_NE(AutopilotChoice(), Down);
}

TEST_F(AutopilotTest, HeadsForTheLastDotAndForAFrightenedGhost) {
    EnableAutopilot(5);
    EatAllBut(26, 5);  // far right on row 5
    PlacePlayer(37, 46, Up);
    EXPECT_EQ(AutopilotChoice(), Right);
    EatAllBut(1, 29);  // bottom left
    EXPECT_EQ(AutopilotChoice(), Down);

    FrightenGhosts();
    PlaceGhost(2, 37, 34, Up, Frightened);  // two cells up
    EXPECT_EQ(AutopilotChoice(), Up);
}

TEST_F(AutopilotTest, HoldsTheArrowOfItsChoiceOnlyWhileOnTheCentre) {
    EnableAutopilot(5);
    GamePhase = PhasePlaying;
    EatAllBut(26, 5);
    PlacePlayer(37, 46, Up);
    AutopilotPass();
    EXPECT_TRUE(KeyHeld(VK_RIGHT));
    EXPECT_FALSE(KeyHeld(VK_UP));
    Player.x = 38;
    Player.dir = Right;
    AutopilotPass();
    EXPECT_FALSE(KeyHeld(VK_RIGHT)) << "released between centres";
    // Going its way already, it presses nothing.
    Player.x = 43;
    AutopilotPass();
    EXPECT_FALSE(KeyHeld(VK_RIGHT));
    // Not while the ghost-eaten freeze lasts.
    Player.x = 37;
    Player.dir = Up;
    GamePhase = PhaseGhostEaten;
    AutopilotPass();
    EXPECT_FALSE(KeyHeld(VK_RIGHT));
}

}  // namespace
