// The 4-bit BMP encoder: file header, info header, palette (blue, green, red, 0),
// then the rows from the bottom up, two pixels a byte, high nibble first.
#include "tools/artgen/bmp_writer.h"
#include "platform/byte_order.h"

std::vector<uint8_t> EncodeBmp4(const Canvas& picture) {
    const uint32_t rowBytes = ((uint32_t(picture.width) + 1) / 2 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * uint32_t(picture.height);
    const uint32_t dataOffset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.reserve(dataOffset + dataBytes);
    AppendTag(out, "BM");
    AppendU32LE(out, dataOffset + dataBytes);
    AppendU32LE(out, 0);
    AppendU32LE(out, dataOffset);
    AppendU32LE(out, 40);
    AppendU32LE(out, uint32_t(picture.width));
    AppendU32LE(out, uint32_t(picture.height));  // positive: bottom-up
    AppendU16LE(out, 1);
    AppendU16LE(out, 4);
    AppendU32LE(out, 0);  // BI_RGB
    AppendU32LE(out, dataBytes);
    AppendU32LE(out, 2835);  // 72 dots per inch
    AppendU32LE(out, 2835);
    AppendU32LE(out, 16);
    AppendU32LE(out, 0);
    for (uint32_t rgb : ArtPalette) AppendU32LE(out, rgb & 0xFFFFFF);  // 0x00RRGGBB: blue first
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
