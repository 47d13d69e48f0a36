// The bitmap decoder: the game's 4-bit files, other depths, and damaged input.
#include "platform/bmp_decoder.h"
#include <gtest/gtest.h>
#include <vector>
#include "platform/byte_order.h"
#include "platform/resources.h"

namespace {
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { WriteU32LE(&b[at], v); }

// A 3 x 2, 4-bit, bottom-up bitmap: top row indices 1 2 3, bottom row 4 5 6.
std::vector<uint8_t> SmallBmp() {
    std::vector<uint8_t> b(54 + 64 + 8, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, uint32_t(b.size()));
    Put32(b, 10, 54 + 64);
    Put32(b, 14, 40);
    Put32(b, 18, 3);
    Put32(b, 22, 2);
    b[26] = 1;
    b[28] = 4;
    for (int i = 0; i < 16; ++i) {  // colour i: red i, green 2i, blue 3i
        b[54 + 4 * i] = uint8_t(3 * i);
        b[54 + 4 * i + 1] = uint8_t(2 * i);
        b[54 + 4 * i + 2] = uint8_t(i);
    }
    b[118] = 0x45;
    b[119] = 0x60;  // bottom row first
    b[122] = 0x12;
    b[123] = 0x30;
    return b;
}
uint32_t Colour(int i) { return uint32_t(3 * i) << 16 | uint32_t(2 * i) << 8 | uint32_t(i); }
}  // namespace

TEST(BmpDecoder, FourBitBottomUp) {
    std::vector<uint8_t> b = SmallBmp();
    DecodedBitmap* bmp = DecodeBmp(b.data(), b.size());
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->width, 3);
    EXPECT_EQ(bmp->height, 2);
    const int want[] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bmp->pixels[i], Colour(want[i])) << i;
    FreeDecodedBitmap(bmp);
}

TEST(BmpDecoder, DamagedFilesNeverReadPastTheirEnd) {
    std::vector<uint8_t> good = SmallBmp();
    for (size_t cut = 0; cut < good.size(); ++cut) {
        std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
        EXPECT_EQ(DecodeBmp(part.data(), part.size()), nullptr) << "cut at " << cut;
    }
    std::vector<uint8_t> b = good;
    Put32(b, 10, 0xFFFFFFF0u);  // pixels far past the end
    EXPECT_EQ(DecodeBmp(b.data(), b.size()), nullptr);
    b = good;
    Put32(b, 18, 0x7FFFFFFF);  // absurd width
    EXPECT_EQ(DecodeBmp(b.data(), b.size()), nullptr);
    b = good;
    b[30] = 1;  // compressed
    EXPECT_EQ(DecodeBmp(b.data(), b.size()), nullptr);
    b = good;
    b[28] = 16;  // a depth we do not read
    EXPECT_EQ(DecodeBmp(b.data(), b.size()), nullptr);
    EXPECT_EQ(DecodeBmp(nullptr, 100), nullptr);
}

TEST(BmpDecoder, EveryGameBitmapDecodes) {
    const unsigned ids[] = {108, 113, 114, 117, 127, 131, 132};
    for (unsigned id : ids) {
        HBITMAP bmp = LoadBitmapW(ProgramInstance(), MAKEINTRESOURCEW(id));
        if (!bmp) {
            ADD_FAILURE() << "bitmap " << id << " is missing or damaged";
            continue;
        }
        EXPECT_GT(bmp->width, 0);
        DeleteObject(bmp);
    }
}
