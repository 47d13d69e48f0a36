// Mixing the four channels: separation, mono, volumes and the master volume, loops,
// and a sample's end.
#include <gtest/gtest.h>

#include "tests/module/module_builder.h"

namespace {

// One note of sample 1 in each channel listed, on row 0.
std::vector<uint8_t> Chord(TestSample s, std::initializer_list<uint32_t> channels) {
    ModuleBuilder b;
    b.Sample(1, std::move(s));
    for (uint32_t c : channels) b.Cell(0, 0, c, 1, 428);
    return b.Build();
}

}  // namespace

TEST(ModuleMixing, SeparationSetsTheChannelPans) {
    ModuleVoice v;
    v.SetPan(255);
    EXPECT_EQ(v.channelPan[0].load(), 64u);
    EXPECT_EQ(v.channelPan[1].load(), 192u);
    EXPECT_EQ(v.channelPan[2].load(), 192u);
    EXPECT_EQ(v.channelPan[3].load(), 64u);
    v.SetPan(0);
    EXPECT_EQ(v.channelPan[0].load(), 127u);
    EXPECT_EQ(v.channelPan[1].load(), 129u);
    EXPECT_EQ(v.channelPan[2].load(), 129u);
    EXPECT_EQ(v.channelPan[3].load(), 127u);
    v.SetPan(300);
    EXPECT_EQ(v.GetPan(), 255u);
}

TEST(ModuleMixing, StereoPutsThreeQuartersOnTheChannelsSide) {
    for (uint32_t c = 0; c < 4; ++c) {
        TestPlayer p(Chord(Flat(100), {c}));
        auto [left, right] = p.Frame();
        bool leftSide = c == 0 || c == 3;
        EXPECT_EQ(left, (leftSide ? 48 : 16) * 100) << c;
        EXPECT_EQ(right, (leftSide ? 16 : 48) * 100) << c;
    }
    TestPlayer narrow(Chord(Flat(100), {0}), 22050, false, true, 0);
    auto [left, right] = narrow.Frame();
    EXPECT_EQ(left, 33 * 100);
    EXPECT_EQ(right, 31 * 100);
}

TEST(ModuleMixing, MonoIgnoresTheSeparation) {
    for (int32_t separation : {0, 255}) {
        TestPlayer p(Chord(Flat(-100), {0, 1}), 22050, false, false, separation);
        auto [left, right] = p.Frame();
        EXPECT_EQ(left, 2 * 64 * -100);
        EXPECT_EQ(right, 0);
    }
}

TEST(ModuleMixing, VolumesAndTheModuleMasterVolume) {
    TestPlayer p(Chord(Flat(100, 60000, 40), {0, 1}));
    auto [l1, r1] = p.Frame();
    EXPECT_EQ(l1 + r1, 2 * 40 * 100);
    p.master = 32;
    p.voice.SetVolume(64);  // what SetModuleMasterVolume does on every module voice
    EXPECT_EQ(p.voice.GetVolume(), 32u);
    EXPECT_EQ(p.voice.effectiveVolume[0].load(), 20u);
    auto [l2, r2] = p.Frame();
    EXPECT_EQ(l2 + r2, 2 * 20 * 100);
    p.voice.SetVolume(-5);  // out of range: 64
    EXPECT_EQ(p.voice.volume.load(), 64u);

    TestPlayer quiet(Chord(Flat(100), {0}));
    quiet.module.SetVolume(16);
    quiet.voice.Start(quiet.module, StepTableFor(22050), 22050);
    auto [l3, r3] = quiet.Frame();
    EXPECT_EQ(l3 + r3, 16 * 100);
}

TEST(ModuleMixing, LoopsAndTheSampleEnd) {
    // Eight bytes 0..7, looping over bytes 4..7; stepped one byte a frame.
    TestSample s;
    s.bytes = {0, 1, 2, 3, 4, 5, 6, 7};
    s.loopStartWords = 2;
    s.loopLengthWords = 2;
    TestPlayer p(Chord(s, {0}));
    p.Frame();  // the note: byte 0
    p.voice.step[0] = 256;
    p.voice.position[0] = 256;
    std::vector<int32_t> heard;
    for (int i = 0; i < 11; ++i) heard.push_back(p.Frame().first / 48);
    EXPECT_EQ(heard, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 4, 5, 6, 7}));

    // A loop of one word is no loop: the sample plays once and then is silent.
    s.loopStartWords = 3;
    s.loopLengthWords = 1;
    TestPlayer once(Chord(s, {0}));
    EXPECT_EQ(once.voice.loopLength[1], 0u);
    once.Frame();
    once.voice.step[0] = 256;
    once.voice.position[0] = 256;
    heard.clear();
    for (int i = 0; i < 10; ++i) heard.push_back(once.Frame().first / 48);
    EXPECT_EQ(heard, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0}));
    EXPECT_EQ(once.voice.position[0], 8u * 256);  // does not advance past the end
}

TEST(ModuleMixing, ALoopEndingBeyondTheSampleFallsSilentAtTheEnd) {
    TestSample s;
    s.bytes = {10, 10, 10, 10};
    s.loopStartWords = 1;
    s.loopLengthWords = 4;
    TestPlayer p(Chord(s, {0}));
    int32_t sum = p.Frame().first;  // the note: byte 0
    p.voice.step[0] = 256;
    p.voice.position[0] = 256;
    for (int i = 0; i < 20; ++i) sum += p.Frame().first;
    EXPECT_EQ(sum, 4 * 48 * 10);
}
