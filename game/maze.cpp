// The maze grid as shipped, the neighbour query every actor steers by, and the dots:
// restored each level, painted onto the maze canvas, erased one by one as they are eaten.
#include "game/maze.h"
#include "game/maze_table.h"
#include "gfx/art.h"
#include "gfx/surface.h"

namespace {
// The grid as shipped, read from the table the art generator also draws the walls from.
constexpr std::array<int32_t, MazeRows * MazeColumns> ShippedGrid() {
    std::array<int32_t, MazeRows * MazeColumns> grid{};
    for (int r = 0; r < MazeRows; ++r)
        for (int c = 0; c < MazeColumns; ++c) grid[size_t(r * MazeColumns + c)] = MazeTable[r][c] - '0';
    return grid;
}
}  // namespace

std::array<int32_t, MazeRows* MazeColumns> MazeGrid = ShippedGrid();
int32_t DotsEaten = 0;

int32_t CellAt(int c, int r) {
    if (unsigned(c) >= unsigned(MazeColumns) || unsigned(r) >= unsigned(MazeRows)) return Floor;
    return MazeGrid[r * MazeColumns + c];
}

Neighbours QueryNeighbours(int32_t x, int32_t y) {
    Neighbours n{Floor, Floor, Floor, Floor, 0};
    if (x < 7 || x > 157) {
        // Beyond the outermost columns: the tunnel, where every pixel counts as a centre.
        n.up = n.down = Wall;
        n.atCentre = 1;
    } else if (x == 82 && y == 82) {
        // The square above the door lies between two column centres but acts as one.
        n.up = Wall;
        n.down = Door;
        n.atCentre = 1;
    } else if ((x - 1) % 6 == 0 && (y - 16) % 6 == 0) {
        const int c = (x - 1) / 6;
        const int r = (y - 16) / 6;
        n.left = CellAt(c - 1, r);
        n.right = CellAt(c + 1, r);
        n.up = CellAt(c, r - 1);
        n.down = CellAt(c, r + 1);
        n.atCentre = 1;
    }
    return n;
}

void RestoreDots() {
    for (int r = 1; r <= 29; ++r) {
        for (int c = 1; c <= 26; ++c) {
            int32_t& cell = MazeGrid[r * MazeColumns + c];
            if (cell == EatenDot) cell = Dot;
            else if (cell == EatenEnergiser) cell = Energiser;
        }
    }
}

void PaintDots() {
    for (int r = 1; r <= 29; ++r)
        for (int c = 1; c <= 26; ++c)
            if (MazeGrid[r * MazeColumns + c] == Dot)
                BlitKeyed(MazeCanvas, 6 * c + 1, 6 * r + 16, 12, 12, SpriteSheet, KeyColour, 48, 36);
}

void DrawEnergisers() {
    for (int r = 0; r < MazeRows; ++r)
        for (int c = 0; c < MazeColumns; ++c)
            if (MazeGrid[r * MazeColumns + c] == Energiser) DrawSprite(6 * c + 1, 6 * r + 16, 12, 12, 60, 36);
}

void EraseDot(int c, int r) {
    // Only the 2 x 2 dot inside the sprite: the walls around it stay untouched.
    const uint32_t black = MakeColour(MazeCanvas, 0);
    PutPixel(MazeCanvas, 6 * c + 6, 6 * r + 21, black);
    PutPixel(MazeCanvas, 6 * c + 7, 6 * r + 21, black);
    PutPixel(MazeCanvas, 6 * c + 6, 6 * r + 22, black);
    PutPixel(MazeCanvas, 6 * c + 7, 6 * r + 22, black);
}
