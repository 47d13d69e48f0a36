// BMP decoding for the bitmap and icon resources.
#include "bmp_decoder.h"
#include <cstring>
#include <new>

namespace {
uint32_t Read32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
constexpr int32_t MaxSide = 4096;
}  // namespace

DecodedBitmap* DecodeBmp(const uint8_t* data, size_t size) {
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M') return nullptr;
    uint32_t pixelOffset = Read32(data + 10);
    uint32_t headerSize = Read32(data + 14);
    if (headerSize < 40 || 14 + uint64_t(headerSize) > size) return nullptr;
    int32_t width = int32_t(Read32(data + 18));
    int32_t rawHeight = int32_t(Read32(data + 22));
    uint16_t bits = Read16(data + 28);
    uint32_t compression = Read32(data + 30);
    uint32_t coloursUsed = Read32(data + 46);
    if (compression != 0 || width < 1 || width > MaxSide || rawHeight == 0 || rawHeight < -MaxSide ||
        rawHeight > MaxSide)
        return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return nullptr;
    bool topDown = rawHeight < 0;
    int32_t height = topDown ? -rawHeight : rawHeight;

    uint32_t palette[256] = {};
    if (bits <= 8) {
        uint32_t maxColours = 1u << bits;
        uint32_t count = coloursUsed == 0 || coloursUsed > maxColours ? maxColours : coloursUsed;
        uint64_t paletteAt = 14 + uint64_t(headerSize);
        if (paletteAt + 4ull * count > size) return nullptr;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* q = data + paletteAt + 4 * i;  // blue, green, red, reserved
            palette[i] = uint32_t(q[0]) << 16 | uint32_t(q[1]) << 8 | q[2];
        }
    }
    uint64_t rowBytes = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (uint64_t(pixelOffset) + rowBytes * uint64_t(height) > size) return nullptr;

    auto* bitmap = new (std::nothrow) DecodedBitmap{width, height, nullptr};
    if (!bitmap) return nullptr;
    bitmap->pixels = new (std::nothrow) uint32_t[size_t(width) * size_t(height)];
    if (!bitmap->pixels) {
        delete bitmap;
        return nullptr;
    }
    for (int32_t y = 0; y < height; ++y) {
        int32_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = data + pixelOffset + rowBytes * uint64_t(fileRow);
        uint32_t* out = bitmap->pixels + size_t(y) * size_t(width);
        for (int32_t x = 0; x < width; ++x) {
            switch (bits) {
            case 1: out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: out[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: out[x] = palette[row[x]]; break;
            default: {
                const uint8_t* p = row + 3 * x;
                out[x] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            }
            }
        }
    }
    return bitmap;
}

void FreeDecodedBitmap(DecodedBitmap* bitmap) {
    if (!bitmap) return;
    delete[] bitmap->pixels;
    delete bitmap;
}
