// The mixer on the SDL audio device: with SDL's dummy driver the blocks come back in
// real time and a started sample advances; with no working driver there is no
// device, one line on stderr, and Open fails so the game plays silent.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>
#include "platform/headless/headless_backend.h"
#include "platform/sdl/sdl_waveout.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

TEST(SdlWaveOut, NoWorkingDriverMeansNoDeviceAndSilence) {
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            UseHeadlessBackend(1000);
            UseSdlWaveOut();
            SoundSystem mixer;
            bool silent = waveOutGetNumDevs() == 0 && waveOutGetNumDevs() == 0 && !mixer.Open(22050, 0, 16, true);
            std::exit(silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^glimmo: no audio device[^\n]*\n$");
}

TEST(SdlWaveOut, DummyDriverPlaysBlocksInRealTime) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseHeadlessBackend(1000);
    UseSdlWaveOut();
    ASSERT_EQ(waveOutGetNumDevs(), 1u);
    SoundSystem mixer;
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    std::vector<uint8_t> tone(100000, 200);
    Sample sample;
    sample.data = tone.data();
    sample.length = uint32_t(tone.size());
    sample.rate = 11025;
    uint32_t handle = mixer.PlaySample(sample);
    ASSERT_NE(handle, NoVoice);
    auto* voice = static_cast<SampleVoice*>(mixer.GetVoice(handle));
    uint32_t position = 0;
    for (int i = 0; i < 200 && position == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::lock_guard<std::mutex> hold(mixer.lock);
        position = voice->position;
    }
    EXPECT_GT(position, 0u) << "no block came back from the device within 2 s";
    mixer.PauseOutput();
    mixer.ResumeOutput();
    EXPECT_TRUE(mixer.Close());
}
