// The fixed 28 x 31 maze grid: what each cell holds, the neighbour query every actor
// steers by, and the dots painted onto and erased from the maze canvas.
#pragma once
#include <array>
#include <cstdint>

enum CellKind : int32_t {
    Wall = 0,
    Dot = 1,
    EatenDot = 2,
    Energiser = 3,
    EatenEnergiser = 4,
    Floor = 5,
    Door = 6,
};

enum Direction : int32_t { Up = 1, Right = 2, Down = 3, Left = 4 };

constexpr int MazeColumns = 28;
constexpr int MazeRows = 31;
constexpr int EdibleCells = 244;

extern std::array<int32_t, MazeRows * MazeColumns> MazeGrid;  // row-major: index = row x 28 + column
extern int32_t DotsEaten;                                     // dots and energisers eaten this level

struct Neighbours {
    int32_t left;
    int32_t right;
    int32_t up;
    int32_t down;
    uint8_t atCentre;
};

// The cell of (c, r), or Floor for a column or row outside the grid.
int32_t CellAt(int c, int r);
Neighbours QueryNeighbours(int32_t x, int32_t y);
void RestoreDots();
void PaintDots();
void DrawEnergisers();
void EraseDot(int c, int r);
