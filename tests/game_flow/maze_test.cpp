// The maze grid: the shipped table, the neighbour query at centres, in the tunnel and
// above the door, restoring dots, and the dot pixels on the maze canvas.
#include "game/maze.h"
#include <gtest/gtest.h>
#include "game/maze_table.h"
#include "gfx/art.h"
#include "gfx/surface.h"
#include "tests/game_flow/flow_fixture.h"

namespace {

uint16_t CanvasPixel(int x, int y) { return MazeCanvas.origin[y * MazeCanvas.yStep + x * MazeCanvas.xStep]; }

TEST(MazeGridTest, HoldsTheShippedTableWith244EdibleCells) {
    RestoreDots();
    int dots = 0, energisers = 0;
    for (int r = 0; r < MazeRows; ++r) {
        for (int c = 0; c < MazeColumns; ++c) {
            ASSERT_EQ(MazeGrid[r * MazeColumns + c], MazeTable[r][c] - '0') << "cell " << c << "," << r;
            dots += MazeGrid[r * MazeColumns + c] == Dot;
            energisers += MazeGrid[r * MazeColumns + c] == Energiser;
        }
    }
    EXPECT_EQ(dots, 240);
    EXPECT_EQ(energisers, 4);
    EXPECT_EQ(CellAt(13, 12), Door);
    EXPECT_EQ(CellAt(14, 12), Door);
    EXPECT_EQ(CellAt(-1, 14), Floor);
    EXPECT_EQ(CellAt(28, 14), Floor);
    EXPECT_EQ(CellAt(5, 31), Floor);
}

TEST(MazeGridTest, NeighboursAtCentresAndBetweenThem) {
    // Cell (1, 1): wall above and left, dots to the right and below.
    Neighbours n = QueryNeighbours(7, 22);
    EXPECT_EQ(n.atCentre, 1);
    EXPECT_EQ(n.left, Wall);
    EXPECT_EQ(n.up, Wall);
    EXPECT_EQ(n.right, Dot);
    EXPECT_EQ(n.down, Dot);
    // One pixel off a centre, either way: all floor, no centre.
    for (auto [x, y] : {std::pair{8, 22}, {7, 23}, {82, 154}}) {
        n = QueryNeighbours(x, y);
        EXPECT_EQ(n.atCentre, 0) << x << "," << y;
        EXPECT_EQ(n.left, Floor);
        EXPECT_EQ(n.right, Floor);
        EXPECT_EQ(n.up, Floor);
        EXPECT_EQ(n.down, Floor);
    }
}

TEST(MazeGridTest, TunnelCountsAsCentreEverywhere) {
    for (int x : {-11, -5, 0, 1, 6, 158, 170, 175}) {
        for (int y : {100, 22, 101}) {
            Neighbours n = QueryNeighbours(x, y);
            EXPECT_EQ(n.atCentre, 1) << x << "," << y;
            EXPECT_EQ(n.up, Wall);
            EXPECT_EQ(n.down, Wall);
            EXPECT_EQ(n.left, Floor);
            EXPECT_EQ(n.right, Floor);
        }
    }
    // The outermost columns' own centres are real cells.
    EXPECT_EQ(QueryNeighbours(7, 100).left, Floor);
    EXPECT_EQ(QueryNeighbours(7, 100).up, Wall);
}

TEST(MazeGridTest, SquareAboveTheDoor) {
    Neighbours n = QueryNeighbours(82, 82);
    EXPECT_EQ(n.atCentre, 1);
    EXPECT_EQ(n.up, Wall);
    EXPECT_EQ(n.down, Door);
    EXPECT_EQ(n.left, Floor);
    EXPECT_EQ(n.right, Floor);
    // Column 13's own centre on row 11 reads the real cells.
    n = QueryNeighbours(79, 82);
    EXPECT_EQ(n.atCentre, 1);
    EXPECT_EQ(n.up, Wall);
    EXPECT_EQ(n.down, Door);
    EXPECT_EQ(n.left, Floor);
}

TEST(MazeGridTest, RestoreDotsBringsBackOnlyEatenCells) {
    RestoreDots();
    for (int32_t& cell : MazeGrid) {
        if (cell == Dot) cell = EatenDot;
        else if (cell == Energiser) cell = EatenEnergiser;
    }
    RestoreDots();
    for (int r = 0; r < MazeRows; ++r)
        for (int c = 0; c < MazeColumns; ++c) ASSERT_EQ(MazeGrid[r * MazeColumns + c], MazeTable[r][c] - '0');
}

class MazeCanvasTest : public FlowTest {
protected:
    void SetUp() override {
        openDisplay = true;
        FlowTest::SetUp();
    }
};

TEST_F(MazeCanvasTest, DotsArePaintedAndErasedExactly) {
    CopySurface(MazeCanvas, MazeBackdrop);
    const uint16_t black = uint16_t(MakeColour(MazeCanvas, 0));
    MazeGrid[1 * MazeColumns + 2] = EatenDot;  // cell (2, 1) stays bare
    PaintDots();
    // Cell (1, 1) gets its dot; the eaten cell (2, 1) and the energiser cell (1, 3) do not.
    EXPECT_NE(CanvasPixel(12, 27), black);
    EXPECT_EQ(CanvasPixel(18, 27), black);
    EXPECT_EQ(CanvasPixel(12, 39), black);
    // Erasing clears exactly the 2 x 2 dot and nothing around it.
    const uint16_t around = CanvasPixel(11, 27);
    EraseDot(1, 1);
    for (int y = 27; y <= 28; ++y)
        for (int x = 12; x <= 13; ++x) EXPECT_EQ(CanvasPixel(x, y), black) << x << "," << y;
    EXPECT_EQ(CanvasPixel(11, 27), around);
    RestoreDots();
}

}  // namespace
