// Opening the display: the art set built from the resources, the key colour, presenting,
// and what becomes of backdrops on displays the art does not fit.
#include <gtest/gtest.h>
#include <cstring>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/volume_keys.h"
#include "game/game_sounds.h"
#include "gfx/art.h"
#include "gfx/display_access.h"
#include "platform/headless/headless_backend.h"
#include "platform/resources.h"

namespace {
struct DisplayTest : ::testing::Test {
    void Open(GXDisplayProperties p) {
        UseHeadlessBackend(5000, p);
        ConstructGlobalObjects();
        AppInstance = ProgramInstance();
        result = OpenDisplay(nullptr);
    }
    void TearDown() override {
        CloseDisplay();
        DestroyGlobalObjects();
        SetBackend(nullptr);
    }
    int result = 0;
};
}  // namespace

TEST_F(DisplayTest, PortraitBuildsTheArtSet) {
    Open(PortraitDisplay);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ScreenWidth, 176u);
    EXPECT_EQ(ScreenHeight, 220u);
    EXPECT_EQ(KeyColour, 0xF81Fu);
    for (Surface* s : {&MazeBackdrop, &MazeCanvas, &FlashMaze, &TitleBackdrop, &BlackBackdrop, &BackBuffer})
        EXPECT_NE(s->buffer, nullptr);
    EXPECT_EQ(FrameSurface.buffer, nullptr) << "the frame surface never owns memory";
    EXPECT_EQ(std::memcmp(MazeBackdrop.buffer, MazeCanvas.buffer, 77440), 0) << "one image fills both";
    if (PausedBanner) {
        EXPECT_EQ(PausedBanner->width, 352) << "the banner is made in the rectangle form";
        EXPECT_EQ(PausedBanner->height, 16);
    }
}

TEST_F(DisplayTest, PresentShowsTheBackBuffer) {
    Open(PortraitDisplay);
    CopySurface(BackBuffer, BlackBackdrop);
    PutPixel(BackBuffer, 3, 4, 0x1234);
    PresentFrame();
    auto* shown = static_cast<const uint16_t*>(CurrentBackend().LastFrame());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown[4 * 176 + 3], 0x1234);
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(FrameSurface.origin, nullptr) << "frame memory is not kept past the present";
}

TEST_F(DisplayTest, OtherDepthRefusesEverything) {
    Open(GXDisplayProperties{176, 220, 2, 352, 8, kfDirect565});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(BackBuffer.origin, nullptr);
    PresentFrame();  // refused quietly
    EXPECT_EQ(KeyColour, 0u);
}

TEST_F(DisplayTest, LargerDisplayLeavesBackdropsBlack) {
    Open(GXDisplayProperties{240, 320, 2, 480, 16, kfDirect565});
    EXPECT_EQ(result, 1);
    ASSERT_NE(MazeBackdrop.buffer, nullptr);
    for (int i = 0; i < 240 * 320; i += 97) ASSERT_EQ(MazeBackdrop.buffer[i], 0) << "pixel " << i;
}
