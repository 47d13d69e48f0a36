// The cells the game draws from, as the frame, maze, player, ghost, score and scene
// code address them (top-left pixel and size), and small counting helpers.
#include "tests/art/art_expectations.h"

std::vector<Cell> SpriteSheetCells() {
    // clang-format off: one cell a column, as the sheet lays them out
    std::vector<Cell> cells = {
        {"right nearly shut", 0, 0, 12, 12},
        {"right half", 12, 0, 12, 12},
        {"right wide", 24, 0, 12, 12},
        {"left wide", 36, 0, 12, 12},
        {"left half", 48, 0, 12, 12},
        {"left nearly shut", 60, 0, 12, 12},
        {"down nearly shut", 72, 0, 12, 12},
        {"down half", 84, 0, 12, 12},
        {"down wide", 0, 12, 12, 12},
        {"up nearly shut", 12, 12, 12, 12},
        {"up half", 24, 12, 12, 12},
        {"up wide", 36, 12, 12, 12},
        {"death 5", 48, 12, 12, 12},
        {"death 6", 60, 12, 12, 12},
        {"death 7", 72, 12, 12, 12},
        {"death 8", 84, 12, 12, 12},
        {"red A", 0, 24, 12, 12},
        {"red B", 12, 24, 12, 12},
        {"cyan A", 24, 24, 12, 12},
        {"cyan B", 36, 24, 12, 12},
        {"pink A", 48, 24, 12, 12},
        {"pink B", 60, 24, 12, 12},
        {"orange A", 72, 24, 12, 12},
        {"orange B", 84, 24, 12, 12},
        {"blue A", 0, 36, 12, 12},
        {"blue B", 12, 36, 12, 12},
        {"white A", 24, 36, 12, 12},
        {"white B", 36, 36, 12, 12},
        {"dot", 48, 36, 12, 12},
        {"energiser", 60, 36, 12, 12},
        {"whole player", 72, 36, 12, 12},
        {"burst", 84, 36, 12, 12},
        {"eyes down", 0, 48, 12, 12},
        {"eyes left", 12, 48, 12, 12},
        {"eyes up", 24, 48, 12, 12},
        {"eyes right", 36, 48, 12, 12},
        {"face gold", 48, 48, 12, 12},
        {"face red", 60, 48, 12, 12},
        {"life", 72, 48, 12, 12},
        {"200", 85, 51, 11, 6},
        {"400", 85, 60, 11, 6},
        {"800", 85, 69, 11, 6},
        {"1600", 83, 78, 13, 6},
        {"door", 65, 60, 12, 2},
        {"HIGH SCORE", 0, 60, 65, 6},
        {"1UP", 60, 66, 20, 6},
        {"GAME OVER", 0, 72, 65, 6},
        {"READY!", 0, 78, 40, 6},
    };
    // clang-format on
    for (int d = 0; d < 10; ++d) {
        cells.push_back({"digit " + std::to_string(d), 6 * d, 66, 6, 6});
        cells.push_back({"small digit " + std::to_string(d), 40 + 3 * d, 78, 3, 6});
    }
    for (int k = 1; k <= 8; ++k) cells.push_back({"fruit " + std::to_string(k), 12 * (k - 1), 84, 12, 12});
    return cells;
}

std::vector<Cell> SceneSheetCells() {
    // clang-format off: one cell a column, as the sheet lays them out
    std::vector<Cell> cells = {
        {"giant shut", 1, 1, 20, 20},  {"giant slightly open", 23, 1, 20, 20},
        {"giant open", 45, 1, 20, 20}, {"giant wide open", 67, 1, 20, 20},
        {"patched A", 0, 34, 12, 12},  {"patched B", 12, 34, 12, 12},
        {"torn", 24, 34, 12, 12},      {"bare A", 0, 47, 17, 9},
        {"bare B", 17, 47, 17, 9},
    };
    // clang-format on
    for (int s = 0; s < 7; ++s) cells.push_back({"cloth " + std::to_string(s), 12 * s, 28, 12, 5});
    return cells;
}

int CountInk(const Bmp4& bmp, int x, int y, int w, int h, uint8_t ink) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) n += bmp.At(i, j) == ink;
    return n;
}

int CountNotInk(const Bmp4& bmp, int x, int y, int w, int h, uint8_t ink) {
    return w * h - CountInk(bmp, x, y, w, h, ink);
}

std::vector<uint8_t> CellPixels(const Bmp4& bmp, int x, int y, int w, int h) {
    std::vector<uint8_t> out;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) out.push_back(bmp.At(i, j));
    return out;
}
