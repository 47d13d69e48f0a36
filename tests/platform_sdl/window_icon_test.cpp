// The window icon from the ICON resource: colours kept, magenta see-through, and a
// missing or damaged resource simply gives no icon.
#include "platform/sdl/window_icon.h"
#include <gtest/gtest.h>
#include <vector>
#include "platform/resource_entry.h"

namespace {
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

// A 4 x 2 four-bit BMP, rows stored bottom first: top row indices 0 1 2 3, bottom row 3 2 1 0.
// Palette: 0 black, 1 red FF0000, 2 magenta FF00FF, 3 blue 2121DE.
std::vector<uint8_t> TinyIcon() {
    std::vector<uint8_t> b{'B', 'M'};
    const uint32_t pixelsAt = 14 + 40 + 16 * 4;
    Put32(b, pixelsAt + 8);
    Put32(b, 0);
    Put32(b, pixelsAt);
    Put32(b, 40);
    Put32(b, 4);
    Put32(b, 2);
    Put16(b, 1);
    Put16(b, 4);
    Put32(b, 0);
    Put32(b, 8);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 16);
    Put32(b, 0);
    const uint32_t palette[16] = {0x000000, 0xFF0000, 0xFF00FF, 0x2121DE};  // 0xRRGGBB
    for (uint32_t c : palette) Put32(b, c);                                 // stored blue, green, red, 0
    for (uint8_t byte : {0x32, 0x10, 0, 0, 0x01, 0x23, 0, 0}) b.push_back(byte);
    return b;
}

class WindowIconTest : public ::testing::Test {
protected:
    void Use(const std::vector<uint8_t>& bytes) {
        data_ = bytes;
        entry_ = ResourceEntry{"ICON", 101, data_.data(), data_.size()};
        SetExtraResources(&entry_, 1);
    }
    void TearDown() override { SetExtraResources(nullptr, 0); }
    std::vector<uint8_t> data_;
    ResourceEntry entry_{};
};
}  // namespace

TEST_F(WindowIconTest, ColoursAndTransparency) {
    Use(TinyIcon());
    IconPicture icon;
    ASSERT_TRUE(LoadIconPicture(101, &icon));
    ASSERT_EQ(icon.width, 4);
    ASSERT_EQ(icon.height, 2);
    const std::vector<uint32_t> expected{0xFF000000, 0xFFFF0000, 0x00000000, 0xFF2121DE,
                                         0xFF2121DE, 0x00000000, 0xFFFF0000, 0xFF000000};
    EXPECT_EQ(icon.argb, expected);
}

TEST_F(WindowIconTest, MissingOrDamagedGivesNoIcon) {
    IconPicture icon;
    Use(TinyIcon());
    EXPECT_FALSE(LoadIconPicture(102, &icon));
    EXPECT_TRUE(icon.argb.empty());
    std::vector<uint8_t> cut = TinyIcon();
    cut.resize(cut.size() - 6);  // the pixel rows run past the end
    Use(cut);
    EXPECT_FALSE(LoadIconPicture(101, &icon));
    EXPECT_TRUE(icon.argb.empty());
}
