// Decodes the game's bitmap resources (uncompressed BMP, 1, 4, 8 or 24 bits per pixel)
// into 0x00BBGGRR pixels, top row first. Every read is bounds-checked: a damaged file
// gives null, never a read past its end.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/resources.h"

DecodedBitmap* DecodeBmp(const uint8_t* data, size_t size);
void FreeDecodedBitmap(DecodedBitmap* bitmap);
