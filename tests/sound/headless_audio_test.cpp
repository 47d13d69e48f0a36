// The virtual device end to end: a short run plays a sample while virtual time
// passes, and the recorded bytes are exactly the mixer's arithmetic, every run.
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include "platform/backend.h"
#include "platform/byte_order.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/waveout.h"
#include "tests/sound/sound_fixture.h"
#include "tests/support/file_bytes.h"

namespace {
// One run: open, play a looped tone at 11025 Hz panned a little left, let 300 ms
// pass, close; returns the WAV file written.
std::vector<uint8_t> RecordRun(SoundSystem& mixer, const std::vector<uint8_t>& tone) {
    std::string path = WriteTempFile({});
    SetVirtualAudioOut(path);
    EXPECT_TRUE(mixer.Open(22050, 0, 16, true));
    Sample sample;
    PointSampleAt(sample, tone, 11025, true);
    sample.SetVolume(50);
    sample.SetPan(100);
    mixer.PlaySample(sample);
    CurrentBackend().Sleep(300);
    mixer.Close();
    EXPECT_TRUE(FinishVirtualAudioOut());
    auto bytes = FileBytes(path);
    unlink(path.c_str());
    return bytes;
}
}  // namespace

TEST_F(SoundTest, RecordedAudioIsTheMixersArithmetic) {
    std::vector<uint8_t> tone(1000);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(128 + ((i * 37) % 200) - 100);
    auto file = RecordRun(mixer, tone);
    ASSERT_GT(file.size(), 44u);
    ASSERT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
    EXPECT_EQ(file[22], 2);                   // stereo
    EXPECT_EQ(ReadU32LE(&file[24]), 22050u);  // rate
    EXPECT_EQ(file[34], 8);                   // bits
    std::vector<uint8_t> audio(file.begin() + 44, file.end());

    // Five 8-byte blocks of silence first, then full blocks of 588 frames.
    ASSERT_GE(audio.size(), 40u + 10 * 1176);
    EXPECT_EQ((audio.size() - 40) % 1176, 0u);
    for (int i = 0; i < 40; ++i) ASSERT_EQ(audio[i], 128);

    // The same voice worked out by hand: step 128, v = 50, pan 100.
    const int v = 50, w = 2 * v, r = (100 * w) >> 8;
    auto byte = [](int sum) { return uint8_t(std::clamp(sum >> 7, -128, 127) + 128); };
    size_t frames = (audio.size() - 40) / 2;
    for (size_t f = 0; f < frames; ++f) {
        uint32_t position = uint32_t(f * 128) % (1000 * 256);
        int s = tone[position >> 8] - 128;
        ASSERT_EQ(audio[40 + 2 * f], byte((w - r) * s)) << "left, frame " << f;
        ASSERT_EQ(audio[40 + 2 * f + 1], byte(r * s)) << "right, frame " << f;
    }
    // 300 ms plus the 100 ms the device plays on while closing, at 44100 bytes/s.
    EXPECT_NEAR(double(audio.size()), 0.4 * 44100, 1176 + 40);
}

// The headless device refills each block in the game thread as virtual time passes;
// the mixing thread's round trip, which the real devices keep, must give the same bytes
// through voices starting, a pause of the output, a volume change and the close.
TEST_F(SoundTest, RefillsInTheGameThreadGiveTheMixingThreadsBytes) {
    std::vector<uint8_t> tone(500), buzz(333);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(128 + ((i * 37) % 200) - 100);
    for (size_t i = 0; i < buzz.size(); ++i) buzz[i] = uint8_t((i * 91) % 256);
    auto record = [&](bool throughThread) {
        std::string path = WriteTempFile({});
        SetVirtualAudioOut(path);
        EXPECT_TRUE(mixer.Open(22050, 0, 16, true));
        if (throughThread) WaveOutSetRefill(mixer.device, nullptr, nullptr);
        Sample looped, once;
        PointSampleAt(looped, tone, 11025, true);
        PointSampleAt(once, buzz, 22050);
        mixer.PlaySample(looped);
        Advance(95);
        mixer.PlaySample(once);
        Advance(41);
        mixer.PauseOutput();
        Advance(250);
        mixer.ResumeOutput();
        mixer.SetSampleMasterVolume(20);
        Advance(173);
        mixer.Close();
        EXPECT_TRUE(FinishVirtualAudioOut());
        auto bytes = FileBytes(path);
        unlink(path.c_str());
        return bytes;
    };
    auto inGameThread = record(false);
    auto throughThread = record(true);
    EXPECT_GT(inGameThread.size(), 44u + 10 * 1176);
    EXPECT_TRUE(inGameThread == throughThread)
        << "the two ways differ: " << inGameThread.size() << " and " << throughThread.size() << " bytes";
}

TEST_F(SoundTest, RecordedAudioIsTheSameEveryRun) {
    std::vector<uint8_t> tone(777);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t((i * 91) % 256);
    auto first = RecordRun(mixer, tone);
    auto second = RecordRun(mixer, tone);
    EXPECT_GT(first.size(), 10000u);
    EXPECT_EQ(first, second);
}

TEST_F(SoundTest, RecordingGoesToDiskAsItPlaysAndStopsWholeAtItsLimit) {
    std::vector<uint8_t> tone(500, 200);
    std::string path = WriteTempFile({});
    // A limit of 200,000 bytes stands in for the format's 4 GiB.
    ASSERT_TRUE(SetVirtualAudioOut(path, 200000));
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    Sample sample;
    PointSampleAt(sample, tone, 11025, true);
    mixer.PlaySample(sample);
    CurrentBackend().Sleep(3000);
    // 132,300 bytes played: what stays in memory is one buffer of the file's at most.
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_GE(st.st_size, 44 + 132300 - 65536 - 1176) << "the sound played is not on disk yet";
    CurrentBackend().Sleep(3000);
    mixer.Close();
    EXPECT_NEAR(VirtualAudioOutCutAt(), 200000.0 / 44100, 1e-9);
    ASSERT_TRUE(FinishVirtualAudioOut());
    auto file = FileBytes(path);
    unlink(path.c_str());
    ASSERT_EQ(file.size(), 44u + 200000u);
    EXPECT_EQ(ReadU32LE(&file[4]), 36u + 200000u);
    EXPECT_EQ(ReadU32LE(&file[40]), 200000u);
    EXPECT_NE(file.back(), 128) << "the last bytes are the tone's, not silence or padding";
}
