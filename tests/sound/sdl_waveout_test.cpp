// The mixer on the SDL audio device: with SDL's dummy driver the blocks come back in
// real time and a started sample advances; with no working driver there is no
// device, one line on stderr, and Open fails so the game plays silent. The device also
// asks the system for the mixing thread's priority.
#include "platform/sdl/sdl_waveout.h"
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>
#include "platform/headless/headless_backend.h"
#include "platform/threads.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

TEST(SdlWaveOut, NoWorkingDriverMeansNoDeviceAndSilence) {
    // A fresh process: this one may already have found the dummy device.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
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

// The game thread's lock-free voice calls while the device mixes in real time: every
// flag and volume the mixer reads is safe to change under it (run under the race checker).
TEST(SdlWaveOut, VoiceCallsWhileTheDeviceMixes) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    UseHeadlessBackend(1000);
    UseSdlWaveOut();
    SoundSystem mixer;
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    std::vector<uint8_t> tone(3000);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(i * 13);
    Sample looped, once;
    looped.data = once.data = tone.data();
    looped.length = once.length = uint32_t(tone.size());
    looped.rate = once.rate = 11025;
    looped.loop = true;
    for (int i = 0; i < 8; ++i) mixer.PlaySample(looped);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        Voice* voice = mixer.GetVoice(1 + round % 8);
        voice->SetVolume(round % 70);
        voice->SetPan(round % 300);
        if (round % 3 == 0) voice->Pause();
        else voice->Resume();
        mixer.SetSampleMasterVolume(round % 65);
        mixer.PlaySample(once);  // fills the free voices, which end and free themselves
        (void)mixer.CountPlayingSamples();
        if (round % 50 == 0) {
            mixer.PauseOutput();
            mixer.ResumeOutput();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    mixer.ResumeAllSamples();
    EXPECT_GE(mixer.CountPlayingSamples(), 8u);  // the looped voices were never taken over
    EXPECT_TRUE(mixer.Close());
}

// The SDL device asks the system for the mixing thread's priority: granted, the calling
// thread runs at a lower nice value or in real time; refused, it stays as it was, silently.
TEST(SdlWaveOut, ThreadPriorityIsAskedOfTheSystem) {
    UseSdlWaveOut();
    std::thread([] {
        const int niceBefore = getpriority(PRIO_PROCESS, id_t(gettid()));
        const int policyBefore = sched_getscheduler(0);
        const BOOL granted = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
        const int nice = getpriority(PRIO_PROCESS, id_t(gettid()));
        const int policy = sched_getscheduler(0);
        if (granted) {
            EXPECT_TRUE(nice < niceBefore || policy != policyBefore) << "nice " << nice << ", policy " << policy;
        } else {
            EXPECT_EQ(nice, niceBefore);
            EXPECT_EQ(policy, policyBefore);
        }
    }).join();
}
