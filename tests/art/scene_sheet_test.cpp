// The intermission sheet: every figure at its cell and nothing outside, the giant
// player's mouth opening in steps, the cloth pulled further stage by stage, and the
// patched, torn and bare ghosts showing pink where the scenes say.
#include <gtest/gtest.h>
#include <set>
#include "tests/art/art_expectations.h"

namespace {

class SceneSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sheet = new Bmp4(LoadResBmp("scene_sheet.bmp")); }
    static void TearDownTestSuite() { delete sheet; }
    static const Bmp4& S() { return *sheet; }
    static int Lit(int x, int y, int w, int h) { return CountNotInk(S(), x, y, w, h, IxMagenta); }
    static inline Bmp4* sheet = nullptr;
};

TEST_F(SceneSheet, EveryCellHoldsAFigureAndNothingLiesOutsideTheCells) {
    ASSERT_TRUE(S().ok);
    std::vector<uint8_t> covered(96 * 96, 0);
    for (const Cell& c : SceneSheetCells()) {
        EXPECT_GT(Lit(c.x, c.y, c.w, c.h), 0) << c.what << " is empty";
        for (int y = c.y; y < c.y + c.h; ++y)
            for (int x = c.x; x < c.x + c.w; ++x) {
                EXPECT_EQ(covered[y * 96 + x], 0) << c.what << " overlaps another cell";
                covered[y * 96 + x] = 1;
            }
    }
    int spilled = 0;
    for (int i = 0; i < 96 * 96; ++i) spilled += !covered[i] && S().pixels[i] != IxMagenta;
    EXPECT_EQ(spilled, 0);
}

TEST_F(SceneSheet, GiantPlayerFacesRightAndOpensItsMouthInSteps) {
    int previous = 401;
    for (int x : {1, 23, 45, 67}) {
        const int lit = CountInk(S(), x, 1, 20, 20, IxYellow);
        EXPECT_EQ(lit, Lit(x, 1, 20, 20)) << "all yellow";
        EXPECT_LT(lit, previous);
        previous = lit;
        EXPECT_EQ(S().At(x + 0, 1 + 10), IxYellow) << "back of the head";
    }
    EXPECT_GT(CountInk(S(), 1, 1, 20, 20, IxYellow), 280) << "the shut frame is a whole disc";
    EXPECT_EQ(S().At(67 + 19, 1 + 10), IxMagenta) << "wide open towards the right";
}

TEST_F(SceneSheet, ClothStretchesFurtherEachStageThenHangsTornFromTheNail) {
    // Stages 0..4 are drawn with the ghost 1, 2, 4, 6, 8 pixels left of the cell, covering
    // the cell's columns up to 10 - d: what shows right of that must grow.
    const int pull[5] = {1, 2, 4, 6, 8};
    int previous = 0;
    for (int s = 0; s < 5; ++s) {
        const int visible = Lit(12 * s + 12 - pull[s], 28, pull[s], 5);
        EXPECT_GT(visible, previous) << "stage " << s;
        previous = visible;
        EXPECT_EQ(S().At(12 * s + 11, 28 + 3), IxMagenta) << "the nail shows";
    }
    for (int s = 0; s < 7; ++s) {
        std::set<uint8_t> inks;
        for (uint8_t v : CellPixels(S(), 12 * s, 28, 12, 5))
            if (v != IxMagenta) inks.insert(v);
        EXPECT_EQ(inks, std::set<uint8_t>{IxRed}) << "stage " << s;
    }
    // Torn off: the scraps hang at the nail, clear of where the ghost stands.
    EXPECT_EQ(Lit(60, 28, 6, 5), 0);
    EXPECT_EQ(Lit(72, 28, 6, 5), 0);
}

TEST_F(SceneSheet, PatchedTornAndBareGhostsShowPinkWhereTheyShould) {
    for (int x : {0, 12}) {
        EXPECT_GT(CountInk(S(), x, 34, 12, 12, IxRed), 80);
        EXPECT_GE(CountInk(S(), x + 6, 34 + 6, 6, 6, IxPink), 4) << "patch at the lower right";
        EXPECT_EQ(CountInk(S(), x, 34, 6, 12, IxPink), 0);
    }
    EXPECT_GE(CountInk(S(), 24 + 6, 34 + 6, 6, 6, IxPink), 6) << "torn corner";
    EXPECT_EQ(CountInk(S(), 24, 34, 6, 12, IxPink), 0);
    EXPECT_EQ(S().At(24 + 11, 34 + 11), IxMagenta) << "the corner is gone";
    for (int x : {0, 17}) {
        EXPECT_GT(CountInk(S(), x, 47, 17, 9, IxRed), 10) << "the trailing cloth";
        EXPECT_GT(CountInk(S(), x + 9, 47, 8, 9, IxPink), 30) << "the pink body in front";
        EXPECT_GT(CountInk(S(), x, 47, 17, 9, IxWhite), 0) << "eyes";
        EXPECT_EQ(CountInk(S(), x + 12, 47, 5, 9, IxRed), 0) << "cloth trails behind";
    }
    EXPECT_NE(CellPixels(S(), 0, 47, 17, 9), CellPixels(S(), 17, 47, 17, 9));
}

}  // namespace
