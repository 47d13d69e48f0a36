// The maze picture: two parallel one-pixel lines along the edge of every wall of the
// grid, rounded at the corners, on black. Thin walls (the ghost house) get one line
// per side, so they too show as a double line; the door and the tunnel stay open.
#include <algorithm>
#include "game/maze_table.h"
#include "tools/artgen/art_set.h"

namespace {

constexpr int ScreenW = 176, ScreenH = 220;
constexpr int Deep = 999;  // squared distance standing for "no open pixel near"

// The cell under a pixel. Beyond the grid the nearest edge cell goes on, so the
// tunnel's walls run out to the screen edge and the borders have wall behind them.
bool IsWallPixel(int x, int y) {
    const int c = std::clamp(x < 4 ? 0 : (x - 4) / 6, 0, 27);
    const int r = std::clamp(y < 19 ? 0 : (y - 19) / 6, 0, 30);
    return MazeTable[r][c] == '0';
}

// Squared distance from a wall pixel to the nearest open pixel (0 for open pixels).
// Whole numbers throughout, so the picture is the same on every machine.
std::vector<int> WallDepths() {
    std::vector<int> depth(ScreenW * ScreenH, 0);
    constexpr int reach = 8;
    for (int y = 0; y < ScreenH; ++y) {
        for (int x = 0; x < ScreenW; ++x) {
            if (!IsWallPixel(x, y)) continue;
            int best = Deep;
            for (int j = -reach; j <= reach; ++j)
                for (int i = -reach; i <= reach; ++i)
                    if (!IsWallPixel(x + i, y + j)) best = std::min(best, i * i + j * j);
            depth[y * ScreenW + x] = best;
        }
    }
    return depth;
}

// Takes the corner pixel out of every right-angled bend of a line, so the line cuts
// across diagonally and corners look round.
void RoundCorners(std::vector<uint8_t>& line) {
    auto on = [&](int x, int y) { return x >= 0 && y >= 0 && x < ScreenW && y < ScreenH && line[y * ScreenW + x]; };
    std::vector<uint8_t> out = line;
    for (int y = 0; y < ScreenH; ++y) {
        for (int x = 0; x < ScreenW; ++x) {
            if (!on(x, y)) continue;
            const bool l = on(x - 1, y), r = on(x + 1, y), u = on(x, y - 1), d = on(x, y + 1);
            if (l + r + u + d != 2 || l == r) continue;  // not a bend
            const int hx = l ? -1 : 1, vy = u ? -1 : 1;
            if (!on(x + hx, y + vy)) out[y * ScreenW + x] = 0;
        }
    }
    line = out;
}

}  // namespace

Canvas DrawMaze(uint8_t wallInk) {
    const std::vector<int> depth = WallDepths();
    auto depthAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= ScreenW || y >= ScreenH) return Deep;
        return depth[y * ScreenW + x];
    };
    // The outer line is the wall's edge (distance 1, or the diagonal at a bend); the
    // inner line runs about three pixels in (squared distances 8 to 10).
    std::vector<uint8_t> outer(ScreenW * ScreenH, 0), inner(ScreenW * ScreenH, 0);
    for (int y = 0; y < ScreenH; ++y) {
        for (int x = 0; x < ScreenW; ++x) {
            const int d = depthAt(x, y);
            if (d == 1 || d == 2) outer[y * ScreenW + x] = 1;
            if (d < 8 || d > 10) continue;
            // The second line only where the wall is thick enough to hold it.
            int deepest = 0;
            for (int j = -3; j <= 3; ++j)
                for (int i = -3; i <= 3; ++i) deepest = std::max(deepest, depthAt(x + i, y + j));
            if (deepest >= 25) inner[y * ScreenW + x] = 1;
        }
    }
    RoundCorners(outer);
    RoundCorners(inner);
    Canvas maze(ScreenW, ScreenH, Black);
    for (int i = 0; i < ScreenW * ScreenH; ++i)
        if (outer[i] || inner[i]) maze.pixels[i] = wallInk;
    return maze;
}
