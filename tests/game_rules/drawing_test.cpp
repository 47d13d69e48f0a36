// What the score panel and the board show, read back through a self-describing sprite
// sheet: number layout, tiny digits, fruit, level fruits, ghost points and ghost looks.
#include <memory>
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "game/score_drawing.h"
#include "tests/game_rules/rules_fixture.h"
#include "tests/game_rules/sheet_probe.h"

namespace {

class DrawingTest : public RulesTest {
protected:
    void SetUp() override {
        openDisplay = true;
        RulesTest::SetUp();
        probe = std::make_unique<SheetProbe>();
    }
    void TearDown() override {
        probe.reset();
        RulesTest::TearDown();
    }
    bool Digit(int d, int x, int y) const { return probe->Shows(x, y, 6, 6, 6 * d, 66); }
    bool Tiny(int d, int x, int y) const { return probe->Shows(x, y, 3, 6, 40 + 3 * d, 78); }
    bool Fruit(int kind, int x, int y) const { return probe->Shows(x, y, 12, 12, 12 * (kind - 1), 84); }
    // Ghost g alone on the screen at (40, 60).
    void Only(int g, int32_t dir, int32_t mode) {
        probe->Clear();
        for (GhostRecord& o : Ghosts) o.x = -100;
        PlaceGhost(g, 40, 60, dir, mode);
    }
    std::unique_ptr<SheetProbe> probe;
};

TEST_F(DrawingTest, NumbersAreRightAlignedInEightSlotsWithoutLeadingZeros) {
    DrawNumber(0, 10, 12);
    EXPECT_TRUE(Digit(0, 59, 12)) << "0 is one digit at x + 49";
    EXPECT_TRUE(probe->Blank(10, 12, 49, 6));

    probe->Clear();
    DrawNumber(9999999, 10, 12);
    for (int slot = 1; slot < 8; ++slot) EXPECT_TRUE(Digit(9, 10 + 7 * slot, 12)) << slot;
    EXPECT_TRUE(probe->Blank(10, 12, 7, 6)) << "seven digits start at x + 7";

    probe->Clear();
    DrawNumber(12345678, 90, 12);
    for (int slot = 0; slot < 8; ++slot) EXPECT_TRUE(Digit(slot + 1, 90 + 7 * slot, 12)) << slot;

    probe->Clear();
    DrawNumber(1002, 10, 12);
    EXPECT_TRUE(Digit(1, 38, 12));
    EXPECT_TRUE(Digit(0, 45, 12)) << "inner zeros are drawn";
    EXPECT_TRUE(Digit(0, 52, 12));
    EXPECT_TRUE(Digit(2, 59, 12));
    EXPECT_TRUE(probe->Blank(10, 12, 28, 6));

    probe->Clear();
    DrawNumber(-5, 10, 12);  // only a hand-edited best score can be negative
    EXPECT_TRUE(Digit(0, 59, 12));
    EXPECT_TRUE(probe->Blank(10, 12, 49, 6));
}

TEST_F(DrawingTest, TinyDigitsAndFruitCellsRefuseWhatTheSheetDoesNotHold) {
    DrawTinyDigit(7, 30, 40);
    EXPECT_TRUE(Tiny(7, 30, 40));
    probe->Clear();
    DrawTinyDigit(-1, 30, 40);
    DrawTinyDigit(10, 30, 40);
    DrawFruit(0, 30, 40);
    DrawFruit(9, 30, 40);
    DrawDigit(-1, 30, 40);
    EXPECT_TRUE(probe->Blank(0, 0, 176, 220));
    DrawFruit(8, 30, 40);
    EXPECT_TRUE(Fruit(8, 30, 40));
}

TEST_F(DrawingTest, FruitAndItsPointsStandOnTheFruitSquare) {
    Level = 1;
    FruitUntil = Now() + 1000;
    FruitPointsUntil = Now() + 1000;
    DrawFruitItems(Now());
    EXPECT_TRUE(Tiny(1, 82, 121)) << "100 for the cherries";
    EXPECT_TRUE(Tiny(0, 86, 121));
    EXPECT_TRUE(Tiny(0, 90, 121));
    probe->Clear();
    FruitPointsUntil = Now();
    DrawFruitItems(Now());
    EXPECT_TRUE(Fruit(1, 82, 118));
    probe->Clear();
    Level = 5;
    DrawFruitPoints();
    EXPECT_TRUE(Tiny(7, 82, 121));
    probe->Clear();
    Level = 14;
    DrawFruitPoints();
    EXPECT_TRUE(Tiny(5, 80, 121)) << "5000 for the key";
    for (int x : {84, 88, 92}) EXPECT_TRUE(Tiny(0, x, 121));
    probe->Clear();
    FruitUntil = Now();
    FruitPointsUntil = Now();
    DrawFruitItems(Now());
    EXPECT_TRUE(probe->Blank(0, 0, 176, 220));
}

TEST_F(DrawingTest, LevelFruitsShowUpToSixWithTheCurrentLevelLeftmost) {
    Level = 1;
    DrawLevelFruits();
    EXPECT_TRUE(Fruit(1, 155, 206));
    EXPECT_TRUE(probe->Blank(0, 206, 155, 12));
    probe->Clear();
    Level = 7;  // levels 2..7
    DrawLevelFruits();
    const int kinds[] = {2, 3, 3, 4, 4, 5};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(Fruit(kinds[i], 155 - 12 * i, 206)) << i;
    EXPECT_TRUE(probe->Blank(0, 206, 95, 12));
}

TEST_F(DrawingTest, GhostPointsShowOnlyDuringTheFreeze) {
    GhostPointsX = 40;
    GhostPointsY = 50;
    GhostPointsUntil = Now() + 100;
    GamePhase = PhaseGhostEaten;
    const int cells[3][2] = {{85, 51}, {85, 60}, {85, 69}};
    for (int eaten = 1; eaten <= 3; ++eaten) {
        probe->Clear();
        GhostsEaten = eaten;
        GhostPointsRule(Now());
        EXPECT_TRUE(probe->Shows(40, 53, 11, 6, cells[eaten - 1][0], cells[eaten - 1][1])) << eaten;
    }
    probe->Clear();
    GhostsEaten = 4;
    GhostPointsRule(Now());
    EXPECT_TRUE(probe->Shows(39, 53, 13, 6, 83, 78)) << "1600 one pixel to the left";
    probe->Clear();
    GamePhase = PhasePlaying;
    GhostPointsRule(Now());
    GamePhase = PhaseGhostEaten;
    GhostPointsRule(GhostPointsUntil);
    GhostsEaten = 0;
    GhostPointsRule(Now());
    EXPECT_TRUE(probe->Blank(0, 0, 176, 220));
}

TEST_F(DrawingTest, GhostsLookByModeDirectionBlinkAndAnimation) {
    const int eyesByDir[5] = {0, 24, 36, 0, 12};
    for (int half = 0; half < 2; ++half) {
        AnimCounter = half ? 5 : 3;
        for (int g = 1; g <= 4; ++g) {
            for (int32_t dir : {Up, Right, Down, Left}) {
                Only(g, dir, Normal);
                DrawGhosts();
                EXPECT_TRUE(probe->Shows(40, 60, 6, 12, 24 * (g - 1) + 12 * half, 24)) << g << " body";
                EXPECT_TRUE(probe->Shows(46, 60, 6, 12, eyesByDir[dir] + 6, 48)) << g << " eyes " << dir;
            }
        }
        for (int blink = 0; blink < 2; ++blink) {
            BlinkPhase = blink;
            Only(3, Left, Frightened);
            DrawGhosts();
            EXPECT_TRUE(probe->Shows(40, 60, 6, 12, 24 * blink + 12 * half, 36)) << "frightened body";
            EXPECT_TRUE(probe->Shows(46, 60, 6, 12, blink ? 66 : 54, 48)) << "frightened face";
        }
        Only(3, Down, Eyes);
        DrawGhosts();
        EXPECT_TRUE(probe->Blank(40, 60, 6, 12)) << "eyes have no body";
        EXPECT_TRUE(probe->Shows(46, 60, 6, 12, 6, 48));
    }
}

}  // namespace
