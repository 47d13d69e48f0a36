// The sheets' 16-colour palette in index order (as 0xRRGGBB), and names for its
// indices. Every picture the generator writes uses this one palette.
#pragma once
#include <cstdint>

constexpr uint32_t ArtPalette[16] = {
    0x00FFDE, 0x2121DE, 0xC06914, 0xDEDEDE, 0xFF0000, 0xFFFFFF, 0xFFA70F, 0xFFD619,
    0xFFBDDE, 0xFFFF00, 0x00C000, 0x000000, 0x91FF9B, 0x99FF99, 0xA9FFA9, 0xFF00FF,
};

enum Ink : uint8_t {
    Cyan = 0,
    Blue = 1,
    Brown = 2,
    Grey = 3,
    Red = 4,
    White = 5,
    Orange = 6,
    Gold = 7,
    Pink = 8,
    Yellow = 9,
    Green = 10,
    Black = 11,
    PaleGreen1 = 12,
    PaleGreen2 = 13,
    PaleGreen3 = 14,
    Clear = 15,  // magenta: transparent in the sheets
};
