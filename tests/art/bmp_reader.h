// A small reader of 4-bit palette BMP files for the art tests: the headers' fields,
// the palette, and the pixels as palette indices, top row first.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "tests/support/file_bytes.h"

struct Bmp4 {
    bool ok = false;
    std::string error;
    int width = 0;
    int height = 0;  // as stored: positive means bottom-up rows
    int bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint32_t dataOffset = 0;
    uint32_t fileSize = 0;          // from the file header
    std::vector<uint32_t> palette;  // 0xRRGGBB
    std::vector<uint8_t> pixels;    // index y * width + x, top row first

    uint8_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Bmp4 DecodeBmp4(const std::vector<uint8_t>& bytes);
// Reads res/<name> of the source tree.
Bmp4 LoadResBmp(const std::string& name);
