// The 4-bit BMP encoder: file header, info header, palette (blue, green, red, 0),
// then the rows from the bottom up, two pixels a byte, high nibble first.
#include "tools/artgen/bmp_writer.h"

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
}  // namespace

std::vector<uint8_t> EncodeBmp4(const Canvas& picture) {
    const uint32_t rowBytes = ((uint32_t(picture.width) + 1) / 2 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * uint32_t(picture.height);
    const uint32_t dataOffset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.reserve(dataOffset + dataBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, dataOffset + dataBytes);
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, uint32_t(picture.width));
    Put32(out, uint32_t(picture.height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);  // BI_RGB
    Put32(out, dataBytes);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 16);
    Put32(out, 0);
    for (uint32_t rgb : ArtPalette) {
        out.push_back(uint8_t(rgb));
        out.push_back(uint8_t(rgb >> 8));
        out.push_back(uint8_t(rgb >> 16));
        out.push_back(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t v = picture.At(x, y) & 0x0F;
            row[x / 2] |= (x % 2 == 0) ? uint8_t(v << 4) : v;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
