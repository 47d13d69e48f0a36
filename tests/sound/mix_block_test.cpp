// The mixing pass on known voices: mono, centred and panned stereo, saturation,
// the 8.8 step, loops carrying their fraction, and a voice that ends freeing itself.
#include "tests/sound/sound_fixture.h"

namespace {
// Every frame of a one-byte-per-sample constant signal.
std::vector<uint8_t> Constant(uint8_t value, size_t count = 4096) { return std::vector<uint8_t>(count, value); }
}  // namespace

TEST_F(SoundTest, MonoVoiceAtFullVolumeReachesHalfScale) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    auto high = Constant(255);  // s = 127
    Sample sample;
    PointSampleAt(sample, high, 22050);
    ASSERT_NE(mixer.PlaySample(sample), NoVoice);
    auto block = MixOneBlock();
    ASSERT_EQ(block.size(), 588u);
    // 64 x 127 >> 7 = 63 -> 191
    for (uint8_t b : block) ASSERT_EQ(b, 191);

    mixer.StopAllSamples();
    auto low = Constant(0);  // s = -128: 64 x -128 >> 7 = -64 -> 64
    PointSampleAt(sample, low, 22050);
    mixer.PlaySample(sample);
    EXPECT_EQ(MixOneBlock()[0], 64);
}

TEST_F(SoundTest, StereoPanSharesTwiceTheVolume) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto bytes = Constant(228);  // s = 100
    Sample sample;
    PointSampleAt(sample, bytes, 22050);
    sample.SetVolume(40);

    sample.SetPan(128);  // centred: 40 x 100 >> 7 = 31 on both sides
    uint32_t h = mixer.PlaySample(sample);
    auto block = MixOneBlock();
    EXPECT_EQ(block[0], 128 + 31);
    EXPECT_EQ(block[1], 128 + 31);

    mixer.GetVoice(h)->SetPan(0);  // hard left: 2 x 40 x 100 >> 7 = 62, right 0
    block = MixOneBlock();
    EXPECT_EQ(block[0], 128 + 62);
    EXPECT_EQ(block[1], 128);

    mixer.GetVoice(h)->SetPan(255);  // r = 255 x 80 >> 8 = 79; left (80-79) x 100 >> 7 = 0
    block = MixOneBlock();
    EXPECT_EQ(block[0], 128 + 0);
    EXPECT_EQ(block[1], 128 + (79 * 100 >> 7));

    mixer.GetVoice(h)->SetPan(64);  // r = 64 x 80 >> 8 = 20: left 60 x 100, right 20 x 100
    block = MixOneBlock();
    EXPECT_EQ(block[0], 128 + (60 * 100 >> 7));
    EXPECT_EQ(block[1], 128 + (20 * 100 >> 7));
}

TEST_F(SoundTest, SumsSaturateAtBothEnds) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto high = Constant(255);
    auto low = Constant(0);
    Sample up, down;
    PointSampleAt(up, high, 22050);
    PointSampleAt(down, low, 22050);
    up.SetPan(0);  // left 2 x 64 x 127 per voice
    down.SetPan(255);
    for (int i = 0; i < 3; ++i) {
        mixer.PlaySample(up);
        mixer.PlaySample(down);
    }
    auto block = MixOneBlock();
    EXPECT_EQ(block[0], 255);  // left far above 127
    EXPECT_EQ(block[1], 0);    // right far below -128
}

TEST_F(SoundTest, ArithmeticShiftRoundsNegativeSumsDown) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    auto bytes = Constant(127);  // s = -1
    Sample sample;
    PointSampleAt(sample, bytes, 22050);
    sample.SetVolume(1);  // -1 >> 7 = -1
    mixer.PlaySample(sample);
    EXPECT_EQ(MixOneBlock()[0], 127);
}

TEST_F(SoundTest, SampleAtHalfTheOutputRateStepsBy128) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    std::vector<uint8_t> ramp(300);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = uint8_t(i % 2 ? 128 + 64 : 128 - 64);
    Sample sample;
    PointSampleAt(sample, ramp, 11025);
    uint32_t h = mixer.PlaySample(sample);
    auto* voice = static_cast<SampleVoice*>(mixer.GetVoice(h));
    EXPECT_EQ(voice->step, 128u);
    EXPECT_EQ(voice->end, 300u * 256);
    auto block = MixOneBlock();
    // Each source byte is heard for two output frames: 64 x 64 >> 7 = 32.
    const uint8_t expected[] = {96, 96, 160, 160, 96, 96, 160, 160};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], expected[i]) << "frame " << i;
}

TEST_F(SoundTest, NonLoopingVoiceStopsAtItsEndAndFreesItself) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    auto bytes = Constant(255, 100);
    Sample sample;
    PointSampleAt(sample, bytes, 22050);
    uint32_t h = mixer.PlaySample(sample);
    auto block = MixOneBlock();
    EXPECT_EQ(block[99], 191);
    EXPECT_EQ(block[100], 128);
    EXPECT_EQ(block[587], 128);
    EXPECT_TRUE(mixer.GetVoice(h)->stopped.load());
    EXPECT_EQ(mixer.CountPlayingSamples(), 0u);
    EXPECT_EQ(mixer.PlaySample(sample), h);  // the same lowest voice again
}

TEST_F(SoundTest, LoopingVoiceRepeatsWithItsFractionCarried) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    std::vector<uint8_t> bytes = {255, 128, 0};  // +63, 0, -64
    Sample sample;
    PointSampleAt(sample, bytes, 33075, true);  // step 384: 1.5 bytes a frame
    uint32_t h = mixer.PlaySample(sample);
    ASSERT_EQ(static_cast<SampleVoice*>(mixer.GetVoice(h))->step, 384u);
    auto block = MixOneBlock();
    // positions 0, 1.5, 3->0, 1.5, ...: bytes 0, 1, 0, 1 ...
    const uint8_t expected[] = {191, 128, 191, 128, 191, 128};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(block[i], expected[i]) << "frame " << i;
    EXPECT_TRUE(mixer.GetVoice(h)->IsPlaying());
}

TEST_F(SoundTest, PausedAndStoppedVoicesAddNothing) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    auto bytes = Constant(255);
    Sample sample;
    PointSampleAt(sample, bytes, 22050, true);
    uint32_t h = mixer.PlaySample(sample);
    mixer.GetVoice(h)->Pause();
    EXPECT_EQ(MixOneBlock()[0], 128);
    mixer.GetVoice(h)->Resume();
    EXPECT_EQ(MixOneBlock()[0], 191);
    mixer.GetVoice(h)->Stop();
    EXPECT_EQ(MixOneBlock()[0], 128);
}

TEST_F(SoundTest, LongestSampleEndsRatherThanWrappingItsPosition) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, false));
    std::vector<uint8_t> bytes(MaxSampleLength, 255);
    Sample once, looped;
    PointSampleAt(once, bytes, 65535);
    PointSampleAt(looped, bytes, 65535, true);
    auto* a = static_cast<SampleVoice*>(mixer.GetVoice(mixer.PlaySample(once)));
    auto* b = static_cast<SampleVoice*>(mixer.GetVoice(mixer.PlaySample(looped)));
    ASSERT_EQ(a->step, 760u);
    ASSERT_EQ(a->end, 0xFFFFFF00u);
    a->position = b->position = a->end - 10;  // the next step passes 2^32
    auto block = MixOneBlock();
    EXPECT_EQ(block[0], 255);       // both voices: 2 x 64 x 127 >> 7 = 127
    EXPECT_EQ(block[1], 128 + 63);  // only the loop, back at its start
    EXPECT_TRUE(a->stopped.load());
    EXPECT_FALSE(b->stopped.load());
    EXPECT_EQ(b->position, 750u + 587 * 760);
}
