// The tests' BMP reader: checks the 4-bit uncompressed layout as it goes and reports
// what is wrong instead of reading past the end.
#include "tests/art/bmp_reader.h"
#include <fstream>
#include <iterator>
#include "platform/byte_order.h"
#include "tests/support/file_bytes.h"

namespace {
uint32_t Get16(const std::vector<uint8_t>& b, size_t at) { return ReadU16LE(&b[at]); }
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) { return ReadU32LE(&b[at]); }
}  // namespace

Bmp4 DecodeBmp4(const std::vector<uint8_t>& b) {
    Bmp4 bmp;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        bmp.error = "not a BMP";
        return bmp;
    }
    bmp.fileSize = Get32(b, 2);
    bmp.dataOffset = Get32(b, 10);
    if (Get32(b, 14) != 40) {
        bmp.error = "info header is not 40 bytes";
        return bmp;
    }
    bmp.width = int32_t(Get32(b, 18));
    bmp.height = int32_t(Get32(b, 22));
    bmp.bitsPerPixel = int(Get16(b, 28));
    bmp.compression = Get32(b, 30);
    bmp.coloursUsed = Get32(b, 46);
    if (bmp.bitsPerPixel != 4 || bmp.compression != 0 || bmp.width <= 0 || bmp.height <= 0) {
        bmp.error = "not an uncompressed bottom-up 4-bit BMP";
        return bmp;
    }
    const uint32_t entries = bmp.coloursUsed ? bmp.coloursUsed : 16;
    if (entries > 16 || 54 + 4 * size_t(entries) > b.size()) {
        bmp.error = "bad palette";
        return bmp;
    }
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = 54 + 4 * size_t(i);
        bmp.palette.push_back(Get32(b, at) & 0xFFFFFF);  // blue, green, red, 0
    }
    const size_t rowBytes = ((size_t(bmp.width) + 1) / 2 + 3) & ~size_t(3);
    if (bmp.dataOffset + rowBytes * bmp.height > b.size()) {
        bmp.error = "pixel data cut short";
        return bmp;
    }
    bmp.pixels.resize(size_t(bmp.width) * bmp.height);
    for (int y = 0; y < bmp.height; ++y) {
        const size_t row = bmp.dataOffset + rowBytes * size_t(bmp.height - 1 - y);
        for (int x = 0; x < bmp.width; ++x) {
            const uint8_t byte = b[row + x / 2];
            bmp.pixels[size_t(y) * bmp.width + x] = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
        }
    }
    bmp.ok = true;
    return bmp;
}

Bmp4 LoadResBmp(const std::string& name) {
    return DecodeBmp4(FileBytes(std::string(GLIMMO_SOURCE_DIR) + "/res/" + name));
}
