// Encodes an indexed picture as a 4-bit palette BMP: uncompressed, bottom-up rows
// padded to 4 bytes, the sixteen palette entries, biClrUsed 16.
#pragma once
#include <cstdint>
#include <vector>
#include "tools/artgen/canvas.h"

std::vector<uint8_t> EncodeBmp4(const Canvas& picture);
