// Starting modules on the mixer: NoVoice when it cannot, the lowest free module voice
// otherwise, the module's settings handed to the voice, and the module master volume.
#include <gtest/gtest.h>

#include <mutex>

#include "platform/clock.h"

#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "sound/sound_system.h"
#include "tests/module/module_builder.h"

namespace {

class ModulePlay : public ::testing::Test {
protected:
    void SetUp() override {
        UseHeadlessBackend(1000000);
        UseVirtualWaveOut();
        ModuleBuilder b;
        b.Sample(1, Flat(60)).Cell(0, 0, 0, 1, 428).Cell(0, 0, 1, 1, 428);
        std::vector<uint8_t> image = b.Build();
        module.LoadFromMemory(image.data(), image.size());
    }
    void TearDown() override { mixer.Close(); }

    SoundSystem mixer;
    Module module;
};

}  // namespace

TEST_F(ModulePlay, NoVoiceWhenClosedEmptyOrBusy) {
    EXPECT_EQ(mixer.PlayModule(module), NoVoice);  // closed
    ASSERT_TRUE(mixer.Open(22050, 2, 8, true));
    Module empty;
    EXPECT_EQ(mixer.PlayModule(empty), NoVoice);
    EXPECT_EQ(mixer.PlayModule(module), 0u);
    EXPECT_EQ(mixer.PlayModule(module), 1u);
    EXPECT_EQ(mixer.PlayModule(module), NoVoice);  // both busy: nothing taken over
    EXPECT_EQ(mixer.CountPlayingModules(), 2u);
    mixer.GetVoice(0)->Stop();
    EXPECT_EQ(mixer.PlayModule(module), 0u);  // the lowest free one
    mixer.GetVoice(1)->Pause();
    mixer.GetVoice(1)->Stop();  // stopped while paused: never free again
    mixer.GetVoice(0)->Stop();
    EXPECT_EQ(mixer.PlayModule(module), 0u);
    EXPECT_EQ(mixer.PlayModule(module), NoVoice);
}

TEST_F(ModulePlay, TheModulesSettingsReachTheVoice) {
    ASSERT_TRUE(mixer.Open(11025, 1, 8, false));
    module.SetVolume(32);
    module.SetPan(0);
    module.SetLoop(true);
    ASSERT_EQ(mixer.PlayModule(module), 0u);
    std::lock_guard<std::mutex> hold(mixer.lock);
    ModuleVoice& v = mixer.moduleVoices[0];
    EXPECT_EQ(v.GetVolume(), 32u);
    EXPECT_EQ(v.GetPan(), 0u);
    EXPECT_EQ(v.channelPan[0].load(), 127u);
    EXPECT_TRUE(v.GetLoop());
    EXPECT_EQ(v.stereo, 0u);
    EXPECT_EQ(v.samplesPerTick, 220u);
    EXPECT_EQ(v.steps, StepTableFor(11025));
    EXPECT_TRUE(v.IsPlaying());
}

TEST_F(ModulePlay, ModuleMasterVolumeHalvesEveryChannelAtOnce) {
    ASSERT_TRUE(mixer.Open(22050, 2, 8, true));
    ASSERT_EQ(mixer.PlayModule(module), 0u);
    ASSERT_EQ(mixer.PlayModule(module), 1u);
    uint8_t block[2 * 588];
    std::lock_guard<std::mutex> hold(mixer.lock);
    mixer.currentBlock = block;
    mixer.MixBlock();  // the first frame reads row 0: both channels at volume 64
    mixer.SetModuleMasterVolume(32);
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(mixer.moduleVoices[i].GetVolume(), 32u);
        EXPECT_EQ(mixer.moduleVoices[i].effectiveVolume[0].load(), 32u);
        EXPECT_EQ(mixer.moduleVoices[i].effectiveVolume[1].load(), 32u);
    }
    mixer.MixBlock();
    // Channel 0 three quarters left, channel 1 three quarters right: each side hears v x 60 of
    // both voices together, v now 32: (2 x 32 x 60) >> 7 = 30.
    EXPECT_EQ(block[0], 128 + 30);
    EXPECT_EQ(block[1], 128 + 30);
}

TEST_F(ModulePlay, VolumeAndSeparationChangeWhileTheMixingThreadPlays) {
    // Under the race checker: the game thread's setters against the mixing thread's frames.
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    module.SetLoop(true);
    uint32_t handle = mixer.PlayModule(module);
    ASSERT_EQ(handle, 0u);
    Voice* voice = mixer.GetVoice(handle);
    for (int i = 0; i < 200; ++i) {
        mixer.SetModuleMasterVolume(i % 65);
        voice->SetPan(255 - i);
        voice->SetVolume(64 - i % 64);
        Sleep(5);  // virtual time: the device takes blocks and the mixing thread refills them
    }
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_EQ(voice->GetPan(), 56u);
}
