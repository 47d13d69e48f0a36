// Every picture in res/ is a 4-bit uncompressed palette BMP of the size the game needs,
// with the game's palette in its order; the full-screen pictures hold no magenta.
#include <gtest/gtest.h>
#include <set>
#include "platform/byte_order.h"
#include "tests/art/art_expectations.h"

namespace {

struct Expected {
    const char* file;
    int width, height;
    bool fullScreen;  // copied opaque: no magenta allowed
};

const Expected Files[] = {
    {"sprite_sheet.bmp", 96, 96, false}, {"scene_sheet.bmp", 96, 96, false}, {"maze.bmp", 176, 220, true},
    {"maze_flash.bmp", 176, 220, true},  {"title_card.bmp", 176, 220, true}, {"black.bmp", 176, 220, true},
    {"paused_banner.bmp", 176, 8, true}, {"icon.bmp", 32, 32, false},
};

TEST(ArtFiles, AreFourBitPaletteBmpsOfTheRightSize) {
    for (const Expected& e : Files) {
        SCOPED_TRACE(e.file);
        const std::vector<uint8_t> bytes = FileBytes(std::string(GLIMMO_SOURCE_DIR) + "/res/" + e.file);
        const Bmp4 bmp = DecodeBmp4(bytes);
        ASSERT_TRUE(bmp.ok) << bmp.error;
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);  // positive: bottom-up rows
        EXPECT_EQ(bmp.bitsPerPixel, 4);
        EXPECT_EQ(bmp.compression, 0u);
        EXPECT_EQ(bmp.coloursUsed, 16u);
        EXPECT_EQ(bmp.dataOffset, 14u + 40u + 64u);
        EXPECT_EQ(bmp.fileSize, bytes.size());
        const size_t rowBytes = ((size_t(e.width) + 1) / 2 + 3) & ~size_t(3);
        EXPECT_EQ(bytes.size(), 118 + rowBytes * e.height);
        ASSERT_EQ(bmp.palette.size(), 16u);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(bmp.palette[i], GamePalette[i]) << "entry " << i;
        if (e.fullScreen) {
            EXPECT_EQ(CountInk(bmp, 0, 0, bmp.width, bmp.height, IxMagenta), 0);
        }
    }
}

TEST(ArtFiles, BlackScreenIsAllBlack) {
    const Bmp4 black = LoadResBmp("black.bmp");
    ASSERT_TRUE(black.ok);
    EXPECT_EQ(CountNotInk(black, 0, 0, 176, 220, IxBlack), 0);
}

TEST(ArtFiles, PausedBannerIsWhiteLetteringCentredOnARedBar) {
    const Bmp4 banner = LoadResBmp("paused_banner.bmp");
    ASSERT_TRUE(banner.ok);
    const int white = CountInk(banner, 0, 0, 176, 8, IxWhite);
    EXPECT_EQ(CountInk(banner, 0, 0, 176, 8, IxRed) + white, 176 * 8);
    EXPECT_GT(white, 40);  // six letters
    // Red all round the lettering, and the lettering balanced about the middle.
    EXPECT_EQ(CountInk(banner, 0, 0, 176, 1, IxRed), 176);
    EXPECT_EQ(CountInk(banner, 0, 7, 176, 1, IxRed), 176);
    int left = 176, right = -1;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 176; ++x)
            if (banner.At(x, y) == IxWhite) left = std::min(left, x), right = std::max(right, x);
    EXPECT_LE(std::abs((left + right + 1) - 176), 1) << left << ".." << right;
}

TEST(ArtFiles, IconIsThePlayerOnATransparentGround) {
    const Bmp4 icon = LoadResBmp("icon.bmp");
    ASSERT_TRUE(icon.ok);
    EXPECT_GT(CountInk(icon, 0, 0, 32, 32, IxYellow), 300);
    EXPECT_GT(CountInk(icon, 0, 0, 32, 32, IxMagenta), 100);
    // The corners are see-through.
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) EXPECT_EQ(icon.At(x, y), IxMagenta);
}

TEST(ArtFiles, DesktopIconsAreRgbaPngsOfEverySizeTheDesktopAsksFor) {
    for (uint32_t size : {16u, 24u, 32u, 48u, 64u, 128u, 192u, 256u, 512u}) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> png =
            FileBytes(std::string(GLIMMO_SOURCE_DIR) + "/res/glimmo-" + std::to_string(size) + ".png");
        ASSERT_GT(png.size(), 33u);
        const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
        EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
        EXPECT_EQ(ReadU32BE(&png[16]), size);  // width
        EXPECT_EQ(ReadU32BE(&png[20]), size);  // height
        EXPECT_EQ(png[24], 8);                 // bits per channel
        EXPECT_EQ(png[25], 6);                 // RGBA
    }
}

}  // namespace
