// The maze pictures follow the grid the game moves by: wall lines only inside Wall
// cells, every open cell's middle black, the door gap and the tunnel open, the score
// and lives bands black, and the flash maze the same lines in white.
#include <gtest/gtest.h>
#include <algorithm>
#include "game/maze_table.h"
#include "tests/art/art_expectations.h"

namespace {

// The grid cell under a screen pixel; beyond the grid's left and right edges the edge
// column goes on (the tunnel's walls run out to the screen edge).
char CellUnder(int x, int y) {
    const int c = std::clamp(x < 4 ? 0 : (x - 4) / 6, 0, 27);
    return MazeTable[(y - 19) / 6][c];
}

class MazeArt : public ::testing::TestWithParam<const char*> {
protected:
    Bmp4 maze = LoadResBmp(GetParam());
    uint8_t wall = std::string(GetParam()) == "maze.bmp" ? IxBlue : IxWhite;
};

TEST_P(MazeArt, WallsAreLinesOfOneColourInsideWallCellsOnly) {
    ASSERT_TRUE(maze.ok);
    int lines = 0;
    for (int y = 0; y < 220; ++y)
        for (int x = 0; x < 176; ++x) {
            const uint8_t v = maze.At(x, y);
            ASSERT_TRUE(v == IxBlack || v == wall) << x << "," << y;
            if (v != wall) continue;
            ++lines;
            ASSERT_TRUE(y >= 19 && y <= 204) << "wall in the score or lives band at " << x << "," << y;
            EXPECT_EQ(CellUnder(x, y), '0') << "wall pixel outside a wall cell at " << x << "," << y;
        }
    EXPECT_GT(lines, 2000);
}

TEST_P(MazeArt, EveryOpenCellIsBlackInTheMiddleAndAlongItsOpenSides) {
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 28; ++c) {
            if (MazeTable[r][c] == '0') continue;
            EXPECT_EQ(CountNotInk(maze, 6 * c + 4, 6 * r + 19, 6, 6, IxBlack), 0) << "cell " << c << "," << r;
        }
}

TEST_P(MazeArt, EveryWallEdgeFacingACorridorHasALine) {
    // Along each side of a wall cell that borders an open cell, the wall's outer line
    // runs in the wall's edge pixels (corners may be cut).
    for (int r = 1; r < 30; ++r)
        for (int c = 1; c < 27; ++c) {
            if (MazeTable[r][c] != '0') continue;
            const int x0 = 6 * c + 4, y0 = 6 * r + 19;
            const struct {
                bool open;
                int x, y, w, h;
                const char* side;
            } sides[4] = {{MazeTable[r][c + 1] != '0', x0 + 5, y0 + 1, 1, 4, "right"},
                          {MazeTable[r][c - 1] != '0', x0, y0 + 1, 1, 4, "left"},
                          {MazeTable[r + 1][c] != '0', x0 + 1, y0 + 5, 4, 1, "below"},
                          {MazeTable[r - 1][c] != '0', x0 + 1, y0, 4, 1, "above"}};
            for (const auto& s : sides) {
                if (!s.open) continue;
                EXPECT_EQ(CountInk(maze, s.x, s.y, s.w, s.h, wall), 4) << c << "," << r << " " << s.side;
            }
        }
}

TEST_P(MazeArt, DoorGapAndTunnelAreOpen) {
    // The door cells (13, 12) and (14, 12): where the door sprite goes at (82, 95).
    EXPECT_EQ(CountNotInk(maze, 82, 91, 12, 6, IxBlack), 0);
    // The walls beside the door end there: a line closes each wall end.
    EXPECT_EQ(maze.At(81, 93), wall);
    EXPECT_EQ(maze.At(94, 93), wall);
    // The tunnel row 14 (y 103 .. 108) is black right out to both screen edges, with
    // wall lines above and below it there.
    EXPECT_EQ(CountNotInk(maze, 0, 103, 40, 6, IxBlack), 0);
    EXPECT_EQ(CountNotInk(maze, 136, 103, 40, 6, IxBlack), 0);
    for (int x : {0, 175}) {
        EXPECT_EQ(maze.At(x, 102), wall);
        EXPECT_EQ(maze.At(x, 109), wall);
    }
}

TEST_P(MazeArt, LinesAreDoubleOnTheBorder) {
    // Half way down the left border (row 5), two parallel lines with a gap between.
    const int y = 6 * 5 + 19 + 3;
    std::vector<int> lit;
    for (int x = 0; x < 10; ++x)
        if (maze.At(x, y) == wall) lit.push_back(x);
    ASSERT_EQ(lit.size(), 2u);
    EXPECT_EQ(lit[1] - lit[0], 2);
    EXPECT_EQ(lit[1], 9) << "the inner line is the wall's edge pixel";
}

INSTANTIATE_TEST_SUITE_P(BothMazes, MazeArt, ::testing::Values("maze.bmp", "maze_flash.bmp"));

TEST(MazeFlash, IsTheSameLinesInWhite) {
    const Bmp4 blue = LoadResBmp("maze.bmp"), white = LoadResBmp("maze_flash.bmp");
    ASSERT_TRUE(blue.ok && white.ok);
    for (size_t i = 0; i < blue.pixels.size(); ++i)
        ASSERT_EQ(blue.pixels[i] == IxBlue, white.pixels[i] == IxWhite) << "pixel " << i;
}

}  // namespace
