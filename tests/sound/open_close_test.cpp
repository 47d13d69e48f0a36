// Opening and closing the mixer: the clamps of Open, a second Open, no device, the mixing
// thread's priority, and Close or a locked call while the output is paused (never hanging
// on the lock).
#include <future>
#include "platform/headless/virtual_waveout.h"
#include "platform/threads.h"
#include "tests/sound/sound_fixture.h"

TEST_F(SoundTest, OpenClampsRateAndPoolSizes) {
    struct Case {
        uint32_t rate, modules, samples;
        uint32_t wantRate, wantFrames, wantModules, wantSamples;
    };
    const Case cases[] = {
        {32000, 0, 0, 22050, 588, 1, 8},
        {11025, 5, 100, 11025, 298, 3, 64},
        {44100, 2, 16, 44100, 1176, 2, 16},
        {22050, 1, 64, 22050, 588, 1, 64},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(mixer.Open(c.rate, c.modules, c.samples, true));
        EXPECT_EQ(mixer.rate, c.wantRate);
        EXPECT_EQ(mixer.framesPerBlock, c.wantFrames);
        EXPECT_EQ(mixer.GetModuleVoiceCount(), c.wantModules);
        EXPECT_EQ(mixer.GetSampleVoiceCount(), c.wantSamples);
        EXPECT_EQ(mixer.mixBufferBytes, 5 * c.wantFrames * 2);
        EXPECT_EQ(mixer.format.nAvgBytesPerSec, 2 * c.wantRate);
        EXPECT_EQ(mixer.GetSampleMasterVolume(), 64u);
        mixer.Close();
        EXPECT_EQ(mixer.GetSampleVoiceCount(), 0u);
    }
    ASSERT_TRUE(mixer.Open(11025, false));
    EXPECT_EQ(mixer.GetModuleVoiceCount(), 1u);
    EXPECT_EQ(mixer.GetSampleVoiceCount(), 8u);
    EXPECT_EQ(mixer.format.nBlockAlign, 1);
}

// The mixing thread runs above the game thread, so a returned block is refilled at once.
TEST_F(SoundTest, MixingThreadAsksForTheHighestPriority) {
    ASSERT_TRUE(mixer.Open(22050, 1, 16, true));
    EXPECT_EQ(ThreadPriorityAskedBy(mixer.thread.get_id()), THREAD_PRIORITY_HIGHEST);
    EXPECT_EQ(ThreadPriorityAskedBy(std::this_thread::get_id()), THREAD_PRIORITY_NORMAL)
        << "the game thread keeps its own";
}

TEST_F(SoundTest, SecondOpenFailsAndChangesNothing) {
    ASSERT_TRUE(mixer.Open(22050, 1, 16, true));
    std::vector<uint8_t> bytes(1000, 200);
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    mixer.PlaySample(sample);
    EXPECT_FALSE(mixer.Open(11025, 3, 8, false));
    EXPECT_EQ(mixer.rate, 22050u);
    EXPECT_EQ(mixer.GetSampleVoiceCount(), 16u);
    EXPECT_EQ(mixer.CountPlayingSamples(), 1u);
}

TEST_F(SoundTest, NoDeviceFailsOpenAndLeavesItClosed) {
    SetWaveOutBackend(nullptr);
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    EXPECT_FALSE(mixer.Open(22050, 0, 16, true));
    EXPECT_FALSE(mixer.open);
    EXPECT_EQ(mixer.mixBuffer, nullptr);
    EXPECT_EQ(mixer.GetSampleVoiceCount(), 0u);
    EXPECT_FALSE(mixer.thread.joinable());
    std::vector<uint8_t> bytes(10, 200);
    Sample sample;
    PointSampleAt(sample, bytes, 11025);
    EXPECT_EQ(mixer.PlaySample(sample), NoVoice);
    UseVirtualWaveOut();
    EXPECT_TRUE(mixer.Open(22050, 0, 16, true));  // and may be tried again
}

TEST_F(SoundTest, PausedOutputNeverHoldsTheLockAndCloseEndsIt) {
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    std::vector<uint8_t> bytes(50000, 200);
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    mixer.PlaySample(sample);
    Advance(200);  // blocks flowing
    mixer.PauseOutput();
    {
        std::lock_guard<std::mutex> hold(mixer.pauseMutex);
        EXPECT_TRUE(mixer.threadParked);
    }
    ASSERT_TRUE(mixer.lock.try_lock());  // the parked thread holds nothing
    mixer.lock.unlock();
    EXPECT_EQ(mixer.PlaySample(sample), 2u);

    auto closing = std::async(std::launch::async, [this] { return mixer.Close(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "Close hung while paused";
    EXPECT_TRUE(closing.get());
    EXPECT_FALSE(mixer.open);
}

TEST_F(SoundTest, PausedOutputMixesNothingUntilResumed) {
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    std::vector<uint8_t> bytes(50000, 200);
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    uint32_t h = mixer.PlaySample(sample);
    auto* voice = static_cast<SampleVoice*>(mixer.GetVoice(h));
    Advance(100);
    mixer.PauseOutput();
    uint32_t position = voice->position;
    Advance(500);
    EXPECT_EQ(voice->position, position);
    mixer.ResumeOutput();
    Advance(100);
    EXPECT_GT(voice->position, position);
}
