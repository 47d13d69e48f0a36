// What the game expects of its pictures, written out here on their own so the tests
// do not take the generator's word for it: the palette and the sheets' named cells.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "tests/art/bmp_reader.h"

constexpr uint32_t GamePalette[16] = {
    0x00FFDE, 0x2121DE, 0xC06914, 0xDEDEDE, 0xFF0000, 0xFFFFFF, 0xFFA70F, 0xFFD619,
    0xFFBDDE, 0xFFFF00, 0x00C000, 0x000000, 0x91FF9B, 0x99FF99, 0xA9FFA9, 0xFF00FF,
};
constexpr uint8_t IxCyan = 0, IxBlue = 1, IxRed = 4, IxWhite = 5, IxOrange = 6, IxGold = 7, IxPink = 8, IxYellow = 9,
                  IxBlack = 11, IxMagenta = 15;

struct Cell {
    std::string what;
    int x, y, w, h;
};

std::vector<Cell> SpriteSheetCells();
std::vector<Cell> SceneSheetCells();

// Counting helpers over a rectangle of a picture.
int CountInk(const Bmp4& bmp, int x, int y, int w, int h, uint8_t ink);
int CountNotInk(const Bmp4& bmp, int x, int y, int w, int h, uint8_t ink);
// The rectangle's palette indices, row by row.
std::vector<uint8_t> CellPixels(const Bmp4& bmp, int x, int y, int w, int h);
