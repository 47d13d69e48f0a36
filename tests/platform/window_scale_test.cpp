// The window's whole-number scale for common desktops, and the player's own choice.
#include "platform/window_scale.h"
#include <gtest/gtest.h>

TEST(WindowScale, LargestThatFitsWithRoomForTheFrame) {
    EXPECT_EQ(ChooseWindowScale(1920, 1040, 0), 4);  // 1080p less a panel: 880 high
    EXPECT_EQ(ChooseWindowScale(2560, 1400, 0), 6);
    EXPECT_EQ(ChooseWindowScale(800, 600, 0), 2);
    // Exactly enough room, and one pixel short of it.
    EXPECT_EQ(ChooseWindowScale(176 * 3 + kFrameRoomX, 220 * 3 + kFrameRoomY, 0), 3);
    EXPECT_EQ(ChooseWindowScale(176 * 3 + kFrameRoomX, 220 * 3 + kFrameRoomY - 1, 0), 2);
    EXPECT_EQ(ChooseWindowScale(176 * 3 + kFrameRoomX - 1, 220 * 3 + kFrameRoomY, 0), 2);
    // A portrait monitor is limited by its width.
    EXPECT_EQ(ChooseWindowScale(1080, 1880, 0), 6);
}

TEST(WindowScale, NeverBelowOneNorAboveTheLargest) {
    EXPECT_EQ(ChooseWindowScale(100, 100, 0), 1);
    EXPECT_EQ(ChooseWindowScale(0, 0, 0), 1);
    EXPECT_EQ(ChooseWindowScale(-5, -5, 0), 1);
    EXPECT_EQ(ChooseWindowScale(100000, 100000, 0), kLargestScale);
}

TEST(WindowScale, ChosenScaleIsKeptWhereItFits) {
    EXPECT_EQ(ChooseWindowScale(1920, 1040, 1), 1);
    EXPECT_EQ(ChooseWindowScale(1920, 1040, 4), 4);
    // Larger than the desktop: the largest that fits, or the window could not be seen whole.
    EXPECT_EQ(ChooseWindowScale(1920, 1040, 7), 4);
    EXPECT_EQ(ChooseWindowScale(100000, 100000, 99), kLargestScale);
    // A desktop of unknown size cannot say no.
    EXPECT_EQ(ChooseWindowScale(0, 0, 7), 7);
}
