// BMP decoding for the bitmap and icon resources.
#include "platform/bmp_decoder.h"
#include <new>
#include "platform/byte_order.h"

namespace {
constexpr int32_t MaxSide = 4096;
constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;

// A colour stored blue, green, red, as a 0x00BBGGRR pixel.
uint32_t PixelOf(const uint8_t* bgr) { return uint32_t(bgr[0]) << 16 | uint32_t(bgr[1]) << 8 | bgr[2]; }
}  // namespace

DecodedBitmap* DecodeBmp(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    // The file header, then the fields of the info header this decoder needs.
    bool isBmp = in.Tag("BM");
    in.Skip(8);  // file size, reserved
    uint32_t pixelOffset = in.U32LE();
    uint32_t headerSize = in.U32LE();
    int32_t width = int32_t(in.U32LE());
    int32_t rawHeight = int32_t(in.U32LE());
    in.Skip(2);  // planes
    uint16_t bits = in.U16LE();
    uint32_t compression = in.U32LE();
    in.Skip(12);  // image size, resolution
    uint32_t coloursUsed = in.U32LE();
    in.Skip(4);  // important colours
    if (in.Short() || !isBmp) return nullptr;
    in.Seek(FileHeaderBytes + uint64_t(headerSize));
    if (headerSize < InfoHeaderBytes || in.Short()) return nullptr;
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
        const uint8_t* colours = in.Take(4ull * count);  // blue, green, red, reserved
        if (!colours) return nullptr;
        for (uint32_t i = 0; i < count; ++i) palette[i] = PixelOf(colours + 4 * i);
    }
    uint64_t rowBytes = ((uint64_t(width) * bits + 31) / 32) * 4;
    in.Seek(pixelOffset);
    const uint8_t* pixels = in.Take(rowBytes * uint64_t(height));
    if (!pixels) return nullptr;

    auto* bitmap = new (std::nothrow) DecodedBitmap{width, height, nullptr};
    if (!bitmap) return nullptr;
    bitmap->pixels = new (std::nothrow) uint32_t[size_t(width) * size_t(height)];
    if (!bitmap->pixels) {
        delete bitmap;
        return nullptr;
    }
    for (int32_t y = 0; y < height; ++y) {
        int32_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = pixels + rowBytes * uint64_t(fileRow);
        uint32_t* out = bitmap->pixels + size_t(y) * size_t(width);
        // One loop for each depth, so that a pixel costs a look-up and nothing more.
        switch (bits) {
            case 1:
                for (int32_t x = 0; x < width; ++x) out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int32_t x = 0; x + 1 < width; x += 2) {
                    out[x] = palette[row[x >> 1] >> 4];
                    out[x + 1] = palette[row[x >> 1] & 15];
                }
                if (width & 1) out[width - 1] = palette[row[(width - 1) >> 1] >> 4];
                break;
            case 8:
                for (int32_t x = 0; x < width; ++x) out[x] = palette[row[x]];
                break;
            default:
                for (int32_t x = 0; x < width; ++x) out[x] = PixelOf(row + 3 * x);
        }
    }
    return bitmap;
}

void FreeDecodedBitmap(DecodedBitmap* bitmap) {
    if (!bitmap) return;
    delete[] bitmap->pixels;
    delete bitmap;
}
