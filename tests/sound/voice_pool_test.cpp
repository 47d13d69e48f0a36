// The voice pools: handles over both pools, the lowest free voice, a full pool, a
// voice stopped while paused, the all-voice operations, and what a closed mixer does.
#include "tests/sound/sound_fixture.h"

namespace {
std::vector<uint8_t> Tone() { return std::vector<uint8_t>(2000, 200); }
}  // namespace

TEST_F(SoundTest, HandlesFollowTheModuleVoices) {
    ASSERT_TRUE(mixer.Open(22050, 0, 16, true));
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    for (uint32_t h = 1; h <= 16; ++h) EXPECT_EQ(mixer.PlaySample(sample), h);
    EXPECT_EQ(mixer.GetVoice(0), static_cast<Voice*>(&mixer.moduleVoices[0]));
    EXPECT_EQ(mixer.GetVoice(16), static_cast<Voice*>(&mixer.sampleVoices[15]));
    EXPECT_EQ(mixer.GetVoice(17), nullptr);
    EXPECT_EQ(mixer.GetVoice(NoVoice), nullptr);
    EXPECT_EQ(mixer.CountPlayingSamples(), 16u);
    EXPECT_EQ(mixer.CountPlayingModules(), 0u);
}

TEST_F(SoundTest, FullPoolRefusesAndLowestFreeVoiceIsTaken) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    for (int i = 0; i < 8; ++i) mixer.PlaySample(sample);
    auto* third = static_cast<SampleVoice*>(mixer.GetVoice(3));
    third->SetPan(7);
    EXPECT_EQ(mixer.PlaySample(sample), NoVoice);
    EXPECT_EQ(third->GetPan(), 7u);  // untouched
    EXPECT_EQ(mixer.CountPlayingSamples(), 8u);

    mixer.GetVoice(6)->Stop();
    mixer.GetVoice(3)->Stop();
    EXPECT_EQ(mixer.PlaySample(sample), 3u);
    EXPECT_EQ(mixer.PlaySample(sample), 6u);
    EXPECT_EQ(mixer.PlaySample(sample), NoVoice);
}

TEST_F(SoundTest, VoiceStoppedWhilePausedIsNeverReusedUntilReopened) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    uint32_t first = mixer.PlaySample(sample);
    Voice* voice = mixer.GetVoice(first);
    voice->Pause();
    voice->Stop();
    voice->Resume();  // stopped: Resume leaves it alone
    EXPECT_TRUE(voice->paused.load());
    EXPECT_FALSE(voice->IsPlaying());
    EXPECT_EQ(mixer.PlaySample(sample), first + 1);
    mixer.ResumeAllSamples();
    EXPECT_EQ(mixer.PlaySample(sample), first + 2);

    mixer.Close();
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    EXPECT_EQ(mixer.PlaySample(sample), first);
}

TEST_F(SoundTest, AllVoiceOperations) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    for (int i = 0; i < 3; ++i) mixer.PlaySample(sample);
    mixer.PauseAllSamples();
    EXPECT_EQ(mixer.CountPlayingSamples(), 0u);
    mixer.ResumeAllSamples();
    EXPECT_EQ(mixer.CountPlayingSamples(), 3u);
    mixer.StopAllSamples();
    EXPECT_EQ(mixer.CountPlayingSamples(), 0u);
    EXPECT_EQ(mixer.PlaySample(sample), 1u);  // all free again
    mixer.StopAllModules();
    EXPECT_TRUE(mixer.moduleVoices[0].stopped.load());
}

TEST_F(SoundTest, ClosedMixerAndEmptySampleGiveNoVoice) {
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025);
    EXPECT_EQ(mixer.PlaySample(sample), NoVoice);
    EXPECT_EQ(mixer.GetVoice(0), nullptr);
    mixer.StopAllSamples();  // nothing to do, no crash
    mixer.PauseOutput();
    mixer.ResumeOutput();
    EXPECT_TRUE(mixer.Close());

    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    Sample empty;
    EXPECT_EQ(mixer.PlaySample(empty), NoVoice);
}

TEST_F(SoundTest, MasterVolumeClampsAndFollowsIntoPlayingVoices) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    auto bytes = Tone();
    Sample sample;
    PointSampleAt(sample, bytes, 11025, true);
    sample.SetVolume(48);
    uint32_t h = mixer.PlaySample(sample);
    Voice* voice = mixer.GetVoice(h);
    EXPECT_EQ(voice->GetVolume(), 48u);

    mixer.SetSampleMasterVolume(-1);
    EXPECT_EQ(mixer.GetSampleMasterVolume(), 64u);
    mixer.SetSampleMasterVolume(65);
    EXPECT_EQ(mixer.GetSampleMasterVolume(), 64u);
    mixer.SetSampleMasterVolume(0);
    EXPECT_EQ(voice->GetVolume(), 0u);
    EXPECT_EQ(MixOneBlock()[0], 128);  // silenced while playing
    mixer.SetSampleMasterVolume(64);
    EXPECT_EQ(voice->GetVolume(), 48u);  // back at its own volume

    mixer.SetSampleMasterVolume(32);
    sample.SetVolume(64);
    EXPECT_EQ(mixer.GetVoice(mixer.PlaySample(sample))->GetVolume(), 32u);
    mixer.SetModuleMasterVolume(100);
    EXPECT_EQ(mixer.GetModuleMasterVolume(), 64u);
    EXPECT_EQ(mixer.GetSampleMasterVolume(), 32u);
}

TEST_F(SoundTest, SetterClamps) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    Voice* voice = mixer.GetVoice(1);
    voice->SetPan(300);
    EXPECT_EQ(voice->GetPan(), 255u);
    voice->SetPan(-1);
    EXPECT_EQ(voice->GetPan(), 255u);
    voice->SetVolume(65);
    EXPECT_EQ(voice->volume.load(), 64u);

    Sample sample;
    sample.SetVolume(100);
    EXPECT_EQ(sample.GetVolume(), 64u);
    sample.SetVolume(-3);
    EXPECT_EQ(sample.GetVolume(), 64u);
    sample.SetVolume(0);
    EXPECT_EQ(sample.GetVolume(), 0u);
    sample.SetPan(-1);
    EXPECT_EQ(sample.GetPan(), 255u);
    sample.SetPan(256);
    EXPECT_EQ(sample.GetPan(), 255u);
    sample.SetPan(0);
    EXPECT_EQ(sample.GetPan(), 0u);
}
