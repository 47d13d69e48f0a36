// Merging the controls that hold one virtual key into one down and one up.
#include "platform/key_holds.h"
#include <gtest/gtest.h>
#include <string>

namespace {
struct Recorder {
    std::string log;
    KeyHolds holds{[this](int vk, bool down) { log += (down ? "D" : "U") + std::to_string(vk) + " "; }};
};
}  // namespace

TEST(KeyHolds, RepeatIsOnePress) {
    Recorder r;
    r.holds.Press(1, 38);
    r.holds.Press(1, 38);
    r.holds.Press(1, 38);
    r.holds.Release(1);
    r.holds.Release(1);
    EXPECT_EQ(r.log, "D38 U38 ");
}

TEST(KeyHolds, KeyStaysDownUntilTheLastControlLetsGo) {
    Recorder r;
    r.holds.Press(1, 38);  // arrow
    r.holds.Press(2, 38);  // d-pad
    EXPECT_TRUE(r.holds.Held(38));
    r.holds.Release(1);
    EXPECT_TRUE(r.holds.Held(38));
    r.holds.Release(2);
    EXPECT_FALSE(r.holds.Held(38));
    EXPECT_EQ(r.log, "D38 U38 ");
}

TEST(KeyHolds, ReleaseOfUnknownOrUnmappedControlsIsQuiet) {
    Recorder r;
    r.holds.Release(7);
    r.holds.Press(8, 0);  // a key with no meaning for the game
    r.holds.Release(8);
    EXPECT_EQ(r.log, "");
}

TEST(KeyHolds, ReleaseRangeLetsGoOfOnePadOnly) {
    Recorder r;
    r.holds.Press(0x100000000ull, 13);
    r.holds.Press(0x100000005ull, 37);
    r.holds.Press(0x200000000ull, 37);
    r.holds.Press(40, 38);
    r.holds.ReleaseRange(0x100000000ull, 0x1FFFFFFFFull);
    EXPECT_EQ(r.log, "D13 D37 D38 U13 ");
    EXPECT_TRUE(r.holds.Held(37));
    EXPECT_TRUE(r.holds.Held(38));
}
