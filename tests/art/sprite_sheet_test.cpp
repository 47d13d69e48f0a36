// The sprite sheet holds every figure at the cell the game draws it from, nothing
// outside those cells, and figures that read right: mouths on the side they face, the
// dot exactly where eating blacks it out, ghosts without eyes, lettering in one font.
#include <gtest/gtest.h>
#include <set>
#include "tests/art/art_expectations.h"

namespace {

class SpriteSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sheet = new Bmp4(LoadResBmp("sprite_sheet.bmp")); }
    static void TearDownTestSuite() { delete sheet; }
    static const Bmp4& S() { return *sheet; }
    static int Lit(int x, int y, int w = 12, int h = 12) { return CountNotInk(S(), x, y, w, h, IxMagenta); }
    static std::set<uint8_t> Inks(int x, int y, int w = 12, int h = 12) {
        std::set<uint8_t> inks;
        for (uint8_t v : CellPixels(S(), x, y, w, h))
            if (v != IxMagenta) inks.insert(v);
        return inks;
    }
    static inline Bmp4* sheet = nullptr;
};

TEST_F(SpriteSheet, EveryCellHoldsAFigureAndNothingLiesOutsideTheCells) {
    ASSERT_TRUE(S().ok);
    std::vector<int> owner(96 * 96, -1);
    const std::vector<Cell> cells = SpriteSheetCells();
    for (int i = 0; i < int(cells.size()); ++i) {
        const Cell& c = cells[i];
        EXPECT_GT(Lit(c.x, c.y, c.w, c.h), 0) << c.what << " is empty";
        for (int y = c.y; y < c.y + c.h; ++y)
            for (int x = c.x; x < c.x + c.w; ++x) {
                if (owner[y * 96 + x] >= 0) ADD_FAILURE() << c.what << " overlaps " << cells[owner[y * 96 + x]].what;
                owner[y * 96 + x] = i;
            }
    }
    int spilled = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            if (owner[y * 96 + x] < 0 && S().At(x, y) != IxMagenta) ++spilled;
    EXPECT_EQ(spilled, 0) << "pixels drawn outside every cell";
}

TEST_F(SpriteSheet, DotIsExactlyTheTwoByTwoThatEatingErases) {
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inDot = (x == 5 || x == 6) && (y == 5 || y == 6);
            EXPECT_EQ(S().At(48 + x, 36 + y) != IxMagenta, inDot) << x << "," << y;
        }
}

TEST_F(SpriteSheet, EnergiserIsARoundDiscCentredLikeTheDot) {
    const int lit = Lit(60, 36);
    EXPECT_GE(lit, 24);
    EXPECT_LE(lit, 36);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(S().At(60 + x, 36 + y), S().At(60 + 11 - x, 36 + y)) << "not symmetric at " << x << "," << y;
            EXPECT_EQ(S().At(60 + x, 36 + y), S().At(60 + x, 36 + 11 - y)) << "not symmetric at " << x << "," << y;
        }
    EXPECT_EQ(S().At(60 + 3, 36 + 3), IxMagenta);  // corners cut: round, not square
    EXPECT_NE(S().At(60 + 5, 36 + 5), IxMagenta);
}

TEST_F(SpriteSheet, PlayerFramesAreYellowAndTheMouthOpensTowardsTheWayTheyFace) {
    struct Direction {
        const char* name;
        int cells[3][2];                   // nearly shut, half, wide
        int mouthX, mouthY, backX, backY;  // a rim pixel in the mouth, one opposite
    };
    const Direction dirs[4] = {
        {"right", {{0, 0}, {12, 0}, {24, 0}}, 11, 5, 0, 5},
        {"left", {{60, 0}, {48, 0}, {36, 0}}, 0, 6, 11, 6},
        {"down", {{72, 0}, {84, 0}, {0, 12}}, 5, 11, 5, 0},
        {"up", {{12, 12}, {24, 12}, {36, 12}}, 6, 0, 6, 11},
    };
    for (const Direction& d : dirs) {
        SCOPED_TRACE(d.name);
        int previous = 145;
        for (auto& cell : d.cells) {
            EXPECT_EQ(Inks(cell[0], cell[1]), std::set<uint8_t>{IxYellow});
            const int lit = Lit(cell[0], cell[1]);
            EXPECT_LT(lit, previous) << "mouth does not open further";
            previous = lit;
            EXPECT_EQ(S().At(cell[0] + d.mouthX, cell[1] + d.mouthY), IxMagenta) << "no mouth on this side";
            EXPECT_EQ(S().At(cell[0] + d.backX, cell[1] + d.backY), IxYellow) << "back of the head missing";
        }
    }
    // Left and right are mirror images, as are up and down.
    for (int i = 0; i < 3; ++i) {
        const int r = 12 * i, l = 60 - 12 * i;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) EXPECT_EQ(S().At(r + x, y), S().At(l + 11 - x, y));
    }
    // The spare-life icon faces left like the walking frames.
    EXPECT_EQ(S().At(72 + 0, 48 + 6), IxMagenta);
    EXPECT_EQ(S().At(72 + 11, 48 + 6), IxYellow);
}

TEST_F(SpriteSheet, DeathFramesKeepOpeningUntilOnlyASliverIsLeftThenBurst) {
    const int frames[8][2] = {{72, 36}, {12, 12}, {24, 12}, {36, 12}, {48, 12}, {60, 12}, {72, 12}, {84, 12}};
    int previous = 145;
    for (auto& f : frames) {
        const int lit = Lit(f[0], f[1]);
        EXPECT_LT(lit, previous) << "frame at " << f[0] << "," << f[1];
        EXPECT_EQ(Inks(f[0], f[1]), std::set<uint8_t>{IxYellow});
        previous = lit;
    }
    EXPECT_GE(Lit(72, 36), 90);  // the whole disc
    EXPECT_LT(Lit(84, 12), 25);  // the last sliver
    EXPECT_EQ(Inks(84, 36), (std::set<uint8_t>{IxWhite, IxYellow}));
    EXPECT_EQ(S().At(84 + 5, 36 + 5), IxMagenta) << "the burst's rays leave the middle open";
}

TEST_F(SpriteSheet, GhostBodiesAreOneColourWithAlternatingSkirts) {
    const uint8_t colours[4] = {IxRed, IxCyan, IxPink, IxOrange};
    for (int g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        const int x = 24 * g;
        EXPECT_EQ(Inks(x, 24), std::set<uint8_t>{colours[g]}) << "a body has no eyes of its own";
        EXPECT_EQ(Inks(x + 12, 24), std::set<uint8_t>{colours[g]});
        EXPECT_EQ(CellPixels(S(), x, 24, 12, 9), CellPixels(S(), x + 12, 24, 12, 9)) << "dome and body match";
        EXPECT_NE(CellPixels(S(), x, 33, 12, 3), CellPixels(S(), x + 12, 33, 12, 3)) << "skirt does not move";
        for (int y = 0; y < 12; ++y)
            for (int i = 0; i < 24; ++i)
                EXPECT_EQ(S().At(x + i, 24 + y) == IxMagenta, S().At(i, 24 + y) == IxMagenta) << "same shape as red";
        EXPECT_EQ(S().At(x + 0, 24 + 0), IxMagenta) << "the dome is rounded";
        EXPECT_EQ(S().At(x + 5, 24 + 0), colours[g]);
    }
    EXPECT_EQ(Inks(0, 36), std::set<uint8_t>{IxBlue});
    EXPECT_EQ(Inks(12, 36), std::set<uint8_t>{IxBlue});
    EXPECT_EQ(Inks(24, 36), std::set<uint8_t>{IxWhite});
    EXPECT_EQ(Inks(36, 36), std::set<uint8_t>{IxWhite});
}

TEST_F(SpriteSheet, EyesLookTheWayTheyAreNamed) {
    // The blue pupils sit off the middle of the white, in the named direction.
    struct Look {
        int x;
        int dx, dy;
    };
    const Look looks[4] = {{0, 0, 1}, {12, -1, 0}, {24, 0, -1}, {36, 1, 0}};  // down, left, up, right
    for (const Look& l : looks) {
        SCOPED_TRACE(l.x);
        EXPECT_EQ(Inks(l.x, 48), (std::set<uint8_t>{IxWhite, IxBlue}));
        double wx = 0, wy = 0, bx = 0, by = 0;
        int w = 0, b = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                const uint8_t v = S().At(l.x + x, 48 + y);
                if (v == IxMagenta) continue;
                wx += x, wy += y, ++w;  // the whole eye
                if (v == IxBlue) bx += x, by += y, ++b;
            }
        ASSERT_EQ(b, 8) << "two 2 x 2 pupils";
        const double offX = bx / b - wx / w, offY = by / b - wy / w;
        // Looking one way: off the middle that way by at least half a pixel; across
        // it, within half a pixel of the middle.
        EXPECT_GT(l.dx ? offX * l.dx : 1.0, 0.4);
        EXPECT_GT(l.dy ? offY * l.dy : 1.0, 0.4);
        EXPECT_LE(l.dx ? 0.0 : std::abs(offX), 0.5);
        EXPECT_LE(l.dy ? 0.0 : std::abs(offY), 0.5);
    }
    EXPECT_EQ(Inks(48, 48), std::set<uint8_t>{IxGold});
    EXPECT_EQ(Inks(60, 48), std::set<uint8_t>{IxRed});
}

// Splits a row of lettering into glyphs at the empty columns.
std::vector<std::vector<uint8_t>> Glyphs(const Bmp4& s, int x, int y, int w) {
    std::vector<std::vector<uint8_t>> glyphs;
    std::vector<uint8_t> current;
    for (int i = x; i <= x + w; ++i) {
        bool empty = true;
        std::vector<uint8_t> column;
        for (int j = y; j < y + 6; ++j) {
            const bool lit = i < x + w && s.At(i, j) != IxMagenta;
            column.push_back(lit);
            empty = empty && !lit;
        }
        if (empty) {
            if (!current.empty()) glyphs.push_back(current);
            current.clear();
        } else {
            current.insert(current.end(), column.begin(), column.end());
        }
    }
    return glyphs;
}

TEST_F(SpriteSheet, LetteringCellsHoldTheirWordsInOneFont) {
    const auto high = Glyphs(S(), 0, 60, 65);    // H I G H S C O R E
    const auto over = Glyphs(S(), 0, 72, 65);    // G A M E O V E R
    const auto ready = Glyphs(S(), 0, 78, 40);   // R E A D Y !
    const auto oneUp = Glyphs(S(), 60, 66, 20);  // 1 U P
    ASSERT_EQ(high.size(), 9u);
    ASSERT_EQ(over.size(), 8u);
    ASSERT_EQ(ready.size(), 6u);
    ASSERT_EQ(oneUp.size(), 3u);
    EXPECT_EQ(high[0], high[3]);   // H
    EXPECT_EQ(high[2], over[0]);   // G
    EXPECT_EQ(high[6], over[4]);   // O
    EXPECT_EQ(high[7], over[7]);   // R
    EXPECT_EQ(high[8], over[3]);   // E
    EXPECT_EQ(over[3], over[6]);   // E
    EXPECT_EQ(ready[0], over[7]);  // R
    EXPECT_EQ(ready[2], over[1]);  // A
    // Digits: ten different glyphs, five wide and five high in the top left of the
    // cell; the 1 of 1UP is the digit 1.
    std::set<std::vector<uint8_t>> digits;
    for (int d = 0; d < 10; ++d) {
        digits.insert(CellPixels(S(), 6 * d, 66, 6, 6));
        EXPECT_EQ(Lit(6 * d + 5, 66, 1, 6), 0) << d;
        EXPECT_EQ(Lit(6 * d, 71, 6, 1), 0) << d;
    }
    EXPECT_EQ(digits.size(), 10u);
    EXPECT_EQ(oneUp[0], Glyphs(S(), 6, 66, 6)[0]);
    std::set<std::vector<uint8_t>> small;
    for (int d = 0; d < 10; ++d) small.insert(CellPixels(S(), 40 + 3 * d, 78, 3, 6));
    EXPECT_EQ(small.size(), 10u);
    // Every caption leaves its cell's bottom row empty and is white, red or yellow.
    EXPECT_EQ(Inks(0, 60, 65, 6), std::set<uint8_t>{IxWhite});
    EXPECT_EQ(Inks(0, 72, 65, 6), std::set<uint8_t>{IxRed});
    EXPECT_EQ(Inks(0, 78, 40, 6), std::set<uint8_t>{IxYellow});
}

TEST_F(SpriteSheet, CaptionsSitInTheMiddleOfTheMaze) {
    // GAME OVER is drawn at x 56 and READY! at x 68; the maze's middle is x 88.
    auto middle = [&](int cellX, int y, int w, int screenX) {
        int left = 999, right = -1;
        for (int x = cellX; x < cellX + w; ++x)
            if (Lit(x, y, 1, 6)) left = std::min(left, x), right = std::max(right, x);
        return screenX + (left + right + 1) / 2.0 - cellX;
    };
    EXPECT_NEAR(middle(0, 72, 65, 56), 88, 1);
    EXPECT_NEAR(middle(0, 78, 40, 68), 88, 1);
}

TEST_F(SpriteSheet, PointsDoorAndFruit) {
    std::set<std::vector<uint8_t>> points;
    for (int y : {51, 60, 69}) points.insert(CellPixels(S(), 85, y, 11, 6));
    EXPECT_EQ(points.size(), 3u);
    EXPECT_EQ(Inks(83, 78, 13, 6), std::set<uint8_t>{IxCyan});
    EXPECT_GT(Lit(83, 78, 1, 6), 0) << "1600 uses its whole width";
    EXPECT_GT(Lit(95, 78, 1, 6), 0);
    EXPECT_EQ(Lit(65, 60, 12, 2), 24) << "the door fills its cell";
    std::set<std::vector<uint8_t>> fruits;
    for (int k = 0; k < 8; ++k) {
        fruits.insert(CellPixels(S(), 12 * k, 84, 12, 12));
        EXPECT_GE(Inks(12 * k, 84).size(), 2u) << "fruit " << k + 1 << " is more than a silhouette";
        EXPECT_GE(Lit(12 * k, 84), 30) << "fruit " << k + 1;
    }
    EXPECT_EQ(fruits.size(), 8u);
}

}  // namespace
