// Images that say impossible things: every value that comes from the file stays
// within the tables and the image, and the player's decisions for them hold.
#include <gtest/gtest.h>

#include <random>

#include "tests/module/module_builder.h"

TEST(ModuleBounds, ChannelStateStartsAtZero) {
    ModuleVoice v;
    for (int c = 0; c < ModuleChannels; ++c) {
        EXPECT_EQ(v.period[c], 0);
        EXPECT_EQ(v.step[c], 0u);
        EXPECT_EQ(v.position[c], 0u);
        EXPECT_EQ(v.channelVolume[c].load(), 0u);
        EXPECT_EQ(v.effect[c], 0u);
        EXPECT_EQ(v.portaSpeed[c], 0u);
        EXPECT_EQ(v.delayCount[c], 0u);
        EXPECT_EQ(v.vibratoSpeed[c], 9u);
        EXPECT_EQ(v.vibratoDepth[c], 2u);
    }
    for (int s = 0; s < ModuleSampleSlots; ++s) EXPECT_EQ(v.sampleData[s], nullptr);
    EXPECT_EQ(v.data, nullptr);
}

TEST(ModuleBounds, SongLengthAndHeaderValues) {
    {
        ModuleBuilder b(2);
        b.SongLengthByte(0).Order(0, 1);
        TestPlayer p(b.Build());
        EXPECT_EQ(p.voice.songLength, 1u);  // a length of 0 plays the first entry once
        EXPECT_EQ(p.voice.pattern, 1u);
        EXPECT_EQ(p.RunToEnd(1000 * RowFrames), uint64_t(64) * RowFrames + 1);
    }
    {
        ModuleBuilder b;
        b.SongLengthByte(200);
        TestPlayer p(b.Build());
        EXPECT_EQ(p.voice.songLength, 128u);
    }
    {
        TestSample s = Flat(10);
        ModuleBuilder b;
        b.Sample(1, s).HeaderByte(1, 25, 200).HeaderByte(1, 24, 0xF3).Cell(0, 0, 0, 1, 428);
        TestPlayer p(b.Build());
        EXPECT_EQ(p.voice.sampleVolume[1], 64u);  // a header volume above 64 is 64
        EXPECT_EQ(p.voice.finetune[1], 3u);       // the finetune is the low nibble
        p.RunThrough(0);
        EXPECT_EQ(p.voice.period[0], int32_t(PeriodTable[3 * 72 + 24]));
    }
}

TEST(ModuleBounds, PeriodsAndNotesOutsideTheTables) {
    const uint16_t* steps = StepTableFor(22050);
    // A period of 4095 with finetune -8: the nearest note of 1713 moves eight rows on, to 1813,
    // past the step table: it still plays at its pitch.
    TestSample low = Flat(10);
    low.finetune = 8;
    // Period 1699 (row 1) with finetune -1 would move past the last entry: the last entry.
    TestSample past = Flat(10);
    past.finetune = 15;
    ModuleBuilder b;
    b.Sample(1, low).Sample(2, past).Cell(0, 0, 0, 1, 0xFFF).Cell(0, 0, 1, 2, 1699).Cell(0, 1, 2, 2, 28, 0x0, 0xFF);
    TestPlayer p(b.Build());
    p.RunThrough(RowFrames + 5 * TickFrames);
    EXPECT_EQ(p.voice.period[0], 1813);
    EXPECT_EQ(p.voice.step[0], uint32_t(3546895) * 256 / (1813 * 22050));
    EXPECT_EQ(p.voice.period[1], int32_t(PeriodTable[PeriodCount - 1]));
    // Arpeggio offsets past the end of the table use the last entry too.
    uint32_t note = NearestNoteTable[p.voice.period[2]];
    EXPECT_EQ(p.voice.arpeggioStep1[2], steps[PeriodTable[std::min<uint32_t>(note + 15, PeriodCount - 1)]]);
}

TEST(ModuleBounds, SampleNumbersAboveThirtyOneAreIgnored) {
    ModuleBuilder b;
    b.Sample(1, Flat(10)).Cell(0, 0, 0, 1, 428).Cell(0, 1, 0, 0xE5, 428);
    TestPlayer p(b.Build());
    p.RunThrough(RowFrames);
    EXPECT_EQ(p.voice.sample[0], 1u);
    EXPECT_EQ(p.voice.position[0], uint32_t(StepTableFor(22050)[428]));  // the note restarted
}

TEST(ModuleBounds, SampleDataPastTheEndOfTheImage) {
    // Sample 1 says 1000 words but the file holds 100 bytes of it; sample 2 has none at all.
    ModuleBuilder b;
    b.Sample(1, Flat(10, 100))
        .HeaderByte(1, 22, 0x03)
        .HeaderByte(1, 23, 0xE8)
        .Sample(2, Flat(10, 100))
        .Cell(0, 0, 0, 1, 428)
        .Cell(0, 0, 1, 2, 428);
    std::vector<uint8_t> image = b.Build();
    image.erase(image.end() - 100, image.end());  // sample 2's bytes are gone
    TestPlayer p(image);
    EXPECT_EQ(p.voice.sampleLength[1], 100u * 256);
    EXPECT_EQ(p.voice.sampleData[2], nullptr);
    int32_t heard = 0;
    for (int i = 0; i < 2000; ++i) heard += p.Frame().first != 0;
    EXPECT_EQ(heard, (100 * 256 + 95) / 96);  // sample 1 to its last byte, then silence
}

TEST(ModuleBounds, ImagesShorterThanTheirHeader) {
    for (size_t size : {1u, 20u, 951u, 1083u, 1084u, 1100u}) {
        std::vector<uint8_t> image(size, 0xFF);
        TestPlayer p(image, 22050, true);
        p.RunThrough(20 * RowFrames);
        EXPECT_FALSE(p.voice.stopped.load()) << size;  // a looping song of nothing plays on
    }
}

TEST(ModuleBounds, RandomImagesPlayWithoutLeavingTheirBounds) {
    // Under the sanitizers this walks every effect with nonsense parameters.
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> image(1084 + 2 * 1024 + 3000);
        for (auto& byte : image) byte = uint8_t(random());
        image[950] = uint8_t(1 + random() % 4);
        for (int i = 0; i < 128; ++i) image[952 + i] = uint8_t(random() % 3);
        for (uint32_t rate : {11025u, 22050u, 44100u}) {
            TestPlayer p(image, rate, round % 2 == 0, round % 3 == 0, int32_t(random() % 256));
            for (int i = 0; i < 50000; ++i) {
                auto [l, r] = p.Frame();
                ASSERT_LE(std::abs(l) + std::abs(r), 4 * 64 * 128);
            }
        }
    }
}
