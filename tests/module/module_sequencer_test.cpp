// The module sequencer: tick and row lengths, tempo and speed, positions, pattern
// count, restart, jumps and breaks, the end of a song.
#include <gtest/gtest.h>

#include "tests/module/module_builder.h"

namespace {

// A module whose channel 0 plays a note on every row, so each row read is visible.
std::vector<uint8_t> Song(uint32_t patterns, std::vector<uint8_t> orders) {
    ModuleBuilder b(patterns);
    b.Song(orders).Sample(1, Flat(10));
    return b.Build();
}

}  // namespace

TEST(ModuleSequencer, RowsAndTicksAt22050) {
    TestPlayer p(Song(1, {0}));
    EXPECT_EQ(p.voice.samplesPerTick, 441u);
    p.RunThrough(0);  // the first frame reads row 0
    EXPECT_EQ(p.voice.row, 1u);
    EXPECT_EQ(p.voice.tick, 0u);
    p.RunThrough(TickFrames - 1);
    EXPECT_EQ(p.voice.tick, 0u);
    p.RunThrough(TickFrames);
    EXPECT_EQ(p.voice.tick, 1u);
    p.RunThrough(RowFrames - 1);
    EXPECT_EQ(p.voice.row, 1u);
    p.RunThrough(RowFrames);  // 6 x 442 + 1 frames later, row 1 is read
    EXPECT_EQ(p.voice.row, 2u);
}

TEST(ModuleSequencer, TickLengthAtEachRate) {
    for (uint32_t rate : {11025u, 22050u, 44100u}) {
        TestPlayer p(Song(1, {0}), rate);
        EXPECT_EQ(p.voice.samplesPerTick, rate / 50);
        uint32_t row = 6 * (rate / 50 + 1) + 1;
        p.RunThrough(row - 1);
        EXPECT_EQ(p.voice.row, 1u) << rate;
        p.RunThrough(row);
        EXPECT_EQ(p.voice.row, 2u) << rate;
    }
}

TEST(ModuleSequencer, SpeedAndTempo) {
    ModuleBuilder b;
    b.Sample(1, Flat(10)).Cell(0, 0, 0, 1, 428, 0xF, 125).Cell(0, 1, 1, 0, 0, 0xF, 33).Cell(0, 2, 2, 0, 0, 0xF, 32);
    TestPlayer p(b.Build());
    p.RunThrough(0);
    EXPECT_EQ(p.voice.samplesPerTick, 441u);  // tempo 125 is the default
    EXPECT_EQ(p.voice.speed, 6u);
    p.RunThrough(RowFrames);
    EXPECT_EQ(p.voice.samplesPerTick, 22050u / 13);  // 1696
    uint64_t row2 = RowFrames + 6 * (1696 + 1) + 1;
    p.RunThrough(row2 - 1);
    EXPECT_EQ(p.voice.row, 2u);
    p.RunThrough(row2);
    EXPECT_EQ(p.voice.speed, 32u);
    uint64_t row3 = row2 + 32 * (1696 + 1) + 1;
    p.RunThrough(row3 - 1);
    EXPECT_EQ(p.voice.row, 3u);
    p.RunThrough(row3);
    EXPECT_EQ(p.voice.row, 4u);
}

TEST(ModuleSequencer, SpeedZeroIsIgnored) {
    ModuleBuilder b;
    b.Sample(1, Flat(10)).Cell(0, 0, 0, 1, 428, 0xF, 3).Cell(0, 1, 0, 0, 0, 0xF, 0);
    TestPlayer p(b.Build());
    uint64_t row = 3 * 442 + 1;
    p.RunThrough(row);
    EXPECT_EQ(p.voice.speed, 3u);
    p.RunThrough(row + 10);
    EXPECT_EQ(p.voice.row, 2u);  // rows keep their length
    p.RunThrough(2 * row);
    EXPECT_EQ(p.voice.row, 3u);
}

TEST(ModuleSequencer, PatternCountComesFromTheOrdersPlayed) {
    // Orders 0..3 in the song, pattern 9 listed after it: the samples start after 4 patterns.
    ModuleBuilder b(4);
    b.Song({0, 1, 2, 3}).Order(4, 9).Sample(1, Flat(50)).Cell(0, 0, 0, 1, 428);
    TestPlayer p(b.Build());
    EXPECT_EQ(p.voice.sampleData[1], reinterpret_cast<const int8_t*>(p.module.data + 1084 + 4 * 1024));
    auto [left, right] = p.Frame();
    EXPECT_EQ(left + right, 64 * 50);
}

TEST(ModuleSequencer, RestartPosition) {
    for (uint8_t restartByte : {uint8_t(127), uint8_t(2), uint8_t(3)}) {
        ModuleBuilder b(2);
        b.Song({0, 1}).Restart(restartByte);
        TestPlayer p(b.Build(), 22050, true);
        EXPECT_EQ(p.voice.restart, 0u) << int(restartByte);
    }
    ModuleBuilder b(3);
    b.Song({0, 1, 2}).Restart(1);
    TestPlayer p(b.Build(), 22050, true);
    EXPECT_EQ(p.voice.restart, 1u);
    p.RunThrough(uint64_t(3 * 64) * RowFrames);
    EXPECT_EQ(p.voice.order, 1u);  // after the last entry the song goes on at entry 1
    EXPECT_EQ(p.voice.row, 1u);
    EXPECT_FALSE(p.voice.stopped.load());
}

TEST(ModuleSequencer, ASongWithoutLoopEndsAfterItsLastRow) {
    TestPlayer p(Song(1, {0}));
    uint64_t end = p.RunToEnd(100 * RowFrames);
    // The last row is heard whole; the voice stops when row 64 would be read, adding nothing.
    EXPECT_EQ(end, uint64_t(64) * RowFrames + 1);
    EXPECT_TRUE(p.voice.stopped.load());
}

TEST(ModuleSequencer, PositionJumpAndPatternBreakInOneRow) {
    // B in channel 0 then D in channel 1: D decides (order + 1, its row).
    {
        ModuleBuilder b(3);
        b.Song({0, 1, 2}).Cell(0, 0, 0, 0, 0, 0xB, 2).Cell(0, 0, 1, 0, 0, 0xD, 0x12);
        TestPlayer p(b.Build());
        p.RunThrough(0);
        EXPECT_EQ(p.voice.order, 1u);
        EXPECT_EQ(p.voice.row, 12u);
    }
    // D in channel 0 then B in channel 1: B decides, row 0.
    {
        ModuleBuilder b(3);
        b.Song({0, 1, 2}).Cell(0, 0, 0, 0, 0, 0xD, 0x12).Cell(0, 0, 1, 0, 0, 0xB, 2);
        TestPlayer p(b.Build());
        p.RunThrough(0);
        EXPECT_EQ(p.voice.order, 2u);
        EXPECT_EQ(p.voice.row, 0u);
        EXPECT_EQ(p.voice.pattern, 2u);
    }
}

TEST(ModuleSequencer, PatternBreakAndJumpPastTheEnd) {
    // A break in the last entry ends a song that does not loop, after the break row.
    {
        ModuleBuilder b(2);
        b.Song({0, 1}).Cell(1, 5, 0, 0, 0, 0xD, 0x10);
        TestPlayer p(b.Build());
        EXPECT_EQ(p.RunToEnd(1000 * RowFrames), uint64_t(64 + 6) * RowFrames + 1);
    }
    // ... and restarts a looping one at the restart position, at the break's row.
    {
        ModuleBuilder b(2);
        b.Song({0, 1}).Cell(1, 5, 0, 0, 0, 0xD, 0x10);
        TestPlayer p(b.Build(), 22050, true);
        p.RunThrough(uint64_t(64 + 5) * RowFrames);
        EXPECT_EQ(p.voice.order, 0u);
        EXPECT_EQ(p.voice.row, 10u);
    }
    // A jump at or past the song length is the end of the song too.
    {
        ModuleBuilder b(2);
        b.Song({0, 1}).Cell(0, 3, 2, 0, 0, 0xB, 7);
        TestPlayer p(b.Build());
        EXPECT_EQ(p.RunToEnd(1000 * RowFrames), uint64_t(4) * RowFrames + 1);
    }
    // A break row above 63 goes to row 0 of the next entry.
    {
        ModuleBuilder b(2);
        b.Song({0, 1}).Cell(0, 0, 3, 0, 0, 0xD, 0x99);
        TestPlayer p(b.Build());
        p.RunThrough(0);
        EXPECT_EQ(p.voice.order, 1u);
        EXPECT_EQ(p.voice.row, 0u);
    }
}

TEST(ModuleSequencer, PatternDelayHoldsTheRow) {
    ModuleBuilder b;
    b.Sample(1, Flat(10)).Cell(0, 0, 0, 1, 428, 0xE, 0xE2).Cell(0, 0, 1, 1, 428, 0xA, 0x01);
    TestPlayer p(b.Build());
    p.RunThrough(3 * RowFrames - 1);
    EXPECT_EQ(p.voice.row, 1u);  // row 0 lasts three rows
    // The held row's tick effects go on: 5 slide steps in each of the three rows.
    EXPECT_EQ(p.voice.channelVolume[1].load(), 64u - 15);
    p.RunThrough(3 * RowFrames);
    EXPECT_EQ(p.voice.row, 2u);
}
