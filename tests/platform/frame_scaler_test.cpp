// Drawing the 5-6-5 frame into a 32-bit surface: where the picture goes, that every
// target pixel shows the right source pixel at every scale, and that only the borders
// are painted by the border fill.
#include "platform/frame_scaler.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {
constexpr uint32_t Untouched = 0xDEADBEEF;
constexpr uint32_t Black = 0xFF000000;

// The identity layout, so a pixel's value is its 5-6-5 value: easy to read back.
std::vector<uint32_t> IdentityColours() {
    std::vector<uint32_t> table(65536);
    for (uint32_t v = 0; v < 65536; ++v) table[v] = v;
    return table;
}

struct Target {
    int width, height, pitch;  // pitch in bytes, wider than the row
    std::vector<uint8_t> bytes;
    Target(int w, int h) : width(w), height(h), pitch(w * 4 + 12), bytes(size_t(pitch) * size_t(h)) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, Untouched);
    }
    uint32_t At(int x, int y) const {
        uint32_t v;
        std::memcpy(&v, bytes.data() + size_t(y) * size_t(pitch) + size_t(x) * 4, 4);
        return v;
    }
    void Set(int x, int y, uint32_t v) { std::memcpy(bytes.data() + size_t(y) * size_t(pitch) + size_t(x) * 4, &v, 4); }
};
}  // namespace

TEST(FrameScaler, PlacesThePictureAtTheLargestWholeScaleCentred) {
    ScaledPlace exact = PlaceScaled(176, 220, 528, 660);
    EXPECT_EQ(exact.scale, 3);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
    ScaledPlace roomy = PlaceScaled(176, 220, 600, 700);  // borders of 72 and 40 shared out
    EXPECT_EQ(roomy.scale, 3);
    EXPECT_EQ(roomy.x, 36);
    EXPECT_EQ(roomy.y, 20);
    ScaledPlace wide = PlaceScaled(176, 220, 1920, 1080);  // a full-screen desktop: height decides
    EXPECT_EQ(wide.scale, 4);
    EXPECT_EQ(wide.x, (1920 - 704) / 2);
    EXPECT_EQ(wide.y, (1080 - 880) / 2);
    ScaledPlace shrunk = PlaceScaled(176, 220, 170, 210);  // forced smaller: shrunk, its shape kept
    EXPECT_EQ(shrunk.scale, 0);
    EXPECT_EQ(shrunk.width, 168);
    EXPECT_EQ(shrunk.height, 210);
    EXPECT_EQ(shrunk.x, 1);
    EXPECT_EQ(shrunk.y, 0);
    EXPECT_EQ(PlaceScaled(0, 220, 500, 500).width, 0);
}

TEST(FrameScaler, EveryPixelComesFromItsSourcePixelAtEveryScale) {
    // A 5 x 3 frame whose rows are padded; each pixel's value names its place.
    constexpr int W = 5, H = 3, Pitch = W * 2 + 6;
    std::vector<uint8_t> frame(Pitch * H, 0xAA);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint16_t v = uint16_t(0x1000 + y * 16 + x);
            std::memcpy(&frame[y * Pitch + x * 2], &v, 2);
        }
    const std::vector<uint32_t> colours = IdentityColours();
    for (int scale = 1; scale <= 6; ++scale) {        // the unrolled scales and the general one
        Target target(W * scale + 3, H * scale + 2);  // borders, yet one scale short of the next
        const ScaledPlace place = PlaceScaled(W, H, target.width, target.height);
        ASSERT_EQ(place.scale, scale);
        DrawScaled(frame.data(), Pitch, W, H, colours.data(), place, target.bytes.data(), target.pitch);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                const int sx = x - place.x, sy = y - place.y;
                const bool inside = sx >= 0 && sy >= 0 && sx < W * scale && sy < H * scale;
                const uint32_t want = inside ? uint32_t(0x1000 + (sy / scale) * 16 + sx / scale) : Untouched;
                ASSERT_EQ(target.At(x, y), want) << "scale " << scale << " at " << x << "," << y;
            }
        // The border fill paints the rest and leaves the picture alone.
        FillBorders(place, Black, target.bytes.data(), target.pitch, target.width, target.height);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                const int sx = x - place.x, sy = y - place.y;
                const bool inside = sx >= 0 && sy >= 0 && sx < W * scale && sy < H * scale;
                ASSERT_EQ(target.At(x, y) == Black, !inside) << "scale " << scale << " at " << x << "," << y;
            }
        // Nothing past the end of each row (the pitch's padding) was written.
        for (int y = 0; y < target.height; ++y)
            for (int b = target.width * 4; b < target.pitch; ++b)
                ASSERT_EQ(target.bytes[size_t(y * target.pitch + b)], 0);
    }
}

// A window smaller than the frame shows every other pixel of a frame twice its size.
TEST(FrameScaler, AShrunkPictureTakesTheNearestPixels) {
    constexpr int W = 4, H = 6;
    uint16_t frame[H][W];
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) frame[y][x] = uint16_t(y * 16 + x);
    const std::vector<uint32_t> colours = IdentityColours();
    Target target(3, 3);
    const ScaledPlace place = PlaceScaled(W, H, 3, 3);
    DrawScaled(reinterpret_cast<const uint8_t*>(frame), W * 2, W, H, colours.data(), place, target.bytes.data(),
               target.pitch);
    FillBorders(place, Black, target.bytes.data(), target.pitch, 3, 3);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(target.At(0, y), uint32_t(y * 2 * 16)) << "row " << y;
        EXPECT_EQ(target.At(1, y), uint32_t(y * 2 * 16 + 2)) << "row " << y;
        EXPECT_EQ(target.At(2, y), Black) << "row " << y;
    }
}

TEST(FrameScaler, NoPlaceMeansAllBorder) {
    Target target(4, 4);
    FillBorders(ScaledPlace{}, Black, target.bytes.data(), target.pitch, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y), Black);
}

TEST(FrameScaler, ColoursWidenEachPartByRepeatingItsTopBits) {
    const auto table = MakeColourTable([](uint8_t r, uint8_t g, uint8_t b) { return uint32_t(r) << 16 | g << 8 | b; });
    ASSERT_EQ(table.size(), 65536u);
    EXPECT_EQ(table[0x0000], 0x000000u);
    EXPECT_EQ(table[0xFFFF], 0xFFFFFFu);  // white stays full white
    EXPECT_EQ(table[0xF81F], 0xFF00FFu);  // the key colour, magenta
    EXPECT_EQ(table[0x8410], 0x848284u);  // 16, 32, 16: 132, 130, 132
    EXPECT_EQ(table[0x07E0], 0x00FF00u);
}
