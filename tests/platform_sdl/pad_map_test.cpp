// The gamepad map and the left stick's dead zone with hysteresis.
#include "platform/sdl/pad_map.h"
#include <gtest/gtest.h>
#include "platform/win_types.h"

TEST(PadMap, Buttons) {
    // clang-format off: buttons grouped as on the pad
    struct Case {
        const char* button;
        int vk;
    } cases[] = {
        {"dpup", VK_UP},
        {"dpdown", VK_DOWN},
        {"dpleft", VK_LEFT},
        {"dpright", VK_RIGHT},
        {"a", VK_RETURN},
        {"start", VK_F10},
        {"back", VK_ESCAPE},
        {"rightshoulder", VK_F6},
        {"leftshoulder", VK_F7},
        {"b", 0},
        {"x", 0},
        {"y", 0},
        {"guide", 0},
        {"leftstick", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        int button = PadButtonByName(c.button);
        ASSERT_GE(button, 0) << c.button;
        EXPECT_EQ(VirtualKeyForPadButton(button), c.vk) << c.button;
    }
    EXPECT_EQ(VirtualKeyForPadButton(-1), 0);
    EXPECT_EQ(VirtualKeyForPadButton(1000), 0);
}

TEST(PadMap, StickNeedsAFirmPushAndAClearReturn) {
    EXPECT_EQ(StickDirection(0, kStickPress - 1), 0);
    EXPECT_EQ(StickDirection(0, kStickPress), 1);
    EXPECT_EQ(StickDirection(0, -kStickPress), -1);
    EXPECT_EQ(StickDirection(0, 32767), 1);
    EXPECT_EQ(StickDirection(0, -32768), -1);
    // Held: it stays pushed between the two thresholds.
    EXPECT_EQ(StickDirection(1, kStickRelease), 1);
    EXPECT_EQ(StickDirection(1, kStickRelease - 1), 0);
    EXPECT_EQ(StickDirection(-1, -kStickRelease), -1);
    EXPECT_EQ(StickDirection(-1, -kStickRelease + 1), 0);
    // Flicked straight across.
    EXPECT_EQ(StickDirection(1, -kStickPress), -1);
    EXPECT_EQ(StickDirection(-1, kStickPress), 1);
    EXPECT_EQ(StickDirection(1, -kStickRelease), 0);
}

TEST(PadMap, StickKeys) {
    EXPECT_EQ(VirtualKeyForStick(false, -1), VK_LEFT);
    EXPECT_EQ(VirtualKeyForStick(false, 1), VK_RIGHT);
    EXPECT_EQ(VirtualKeyForStick(true, -1), VK_UP);
    EXPECT_EQ(VirtualKeyForStick(true, 1), VK_DOWN);
    EXPECT_EQ(VirtualKeyForStick(true, 0), 0);
}
