// Presents one refresh apart: a frame that comes too soon waits, and the newest waits;
// one the same as the picture shown takes no turn.
#include "platform/frame_pacer.h"
#include <gtest/gtest.h>

TEST(FramePacer, EarlyFrameWaitsForItsTurnAndIsNotLost) {
    FramePacer p;
    EXPECT_FALSE(p.Due(1000));  // nothing submitted
    p.Submit();
    EXPECT_TRUE(p.Due(1000));  // the first frame goes at once
    p.Presented(1000);
    EXPECT_FALSE(p.Pending());
    p.Submit();  // 11 ms later: too soon for a 60 Hz display
    EXPECT_FALSE(p.Due(12000));
    EXPECT_TRUE(p.Pending());
    EXPECT_EQ(p.DueAt(), 1000u + 16666u);
    EXPECT_FALSE(p.Due(17665));
    EXPECT_TRUE(p.Due(17666));  // still waiting, shown on its turn
    p.Presented(17700);
    p.SetRefreshRate(0);  // unknown: taken as 60 Hz
    p.Submit();
    EXPECT_FALSE(p.Due(30000));
    EXPECT_TRUE(p.Due(17700 + 16666));
    p.SetRefreshRate(144);
    EXPECT_TRUE(p.Due(17700 + 6944));
}

// A frame found the same as the one on the screen is not shown, and does not hold back
// the next one: that one goes as soon as it comes.
TEST(FramePacer, AnUnchangedFrameTakesNoTurn) {
    FramePacer p;
    p.Submit();
    p.Presented(1000);
    p.Submit();
    ASSERT_TRUE(p.Due(20000));
    p.Unchanged();
    EXPECT_FALSE(p.Pending());
    p.Submit();
    EXPECT_TRUE(p.Due(20500));
}
