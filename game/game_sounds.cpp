// The game's sounds: the global sound objects, the samples loaded from their resources,
// and the looped voices with the few ways the frame switches them.
#include "game/game_sounds.h"
#include "game/maze.h"
#include "sound/module.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {
GlobalObject<SoundSystem> mixer;
GlobalObject<std::array<Sample, 15>> samples;
GlobalObject<Module> module;
GlobalObjectSlot* const InOrder[] = {&mixer, &samples, &module};

struct SlotResource {
    int slot;
    uint16_t resource;
    bool looped;
};
constexpr SlotResource SampleResources[] = {
    {0, 119, false}, {1, 120, true},  {2, 121, false}, {3, 122, false}, {4, 123, false},
    {5, 124, false}, {6, 125, true},  {7, 126, true},  {8, 128, false}, {9, 133, true},
    {10, 134, true}, {11, 135, true}, {12, 136, true}, {13, 137, true},
};

Voice* StartPaused(int slot) {
    Voice* voice = Mixer.GetVoice(Mixer.PlaySample(GameSamples[slot]));
    PauseVoice(voice);
    return voice;
}
}  // namespace

SoundSystem& Mixer = *mixer;
std::array<Sample, 15>& GameSamples = *samples;
Module& GameModule = *module;

int32_t Sound = 16;
Voice* ChompVoice = nullptr;
Voice* FrightVoice = nullptr;
Voice* EyesVoice = nullptr;
Voice* SirenVoices[5] = {};
int32_t ChompOn = 0;
int32_t FrightLoopOn = 0;
int32_t EyesLoopOn = 0;
uint8_t SoundClosed = 0;

std::span<GlobalObjectSlot* const> GameSoundObjects() { return InOrder; }

void LoadGameSamples(HINSTANCE instance) {
    for (const SlotResource& s : SampleResources) {
        GameSamples[s.slot].LoadFromResource(instance, s.resource);
        if (s.looped) GameSamples[s.slot].SetLoop(true);
    }
}

void PlayGameSample(int slot) { Mixer.PlaySample(GameSamples[slot]); }

void PauseVoice(Voice* voice) {
    if (voice != nullptr && SoundClosed == 0) voice->Pause();
}

void ResumeVoice(Voice* voice) {
    if (voice != nullptr && SoundClosed == 0) voice->Resume();
}

void StartLoopVoices(int32_t volume) {
    Mixer.SetSampleMasterVolume(0);
    // Resume before stopping: a voice stopped while paused would never be free again.
    Mixer.ResumeAllSamples();
    Mixer.StopAllSamples();
    ChompVoice = StartPaused(SampleChomp);
    FrightVoice = StartPaused(SampleFright);
    EyesVoice = StartPaused(SampleEyes);
    for (int i = 0; i < 5; ++i) SirenVoices[i] = StartPaused(SampleSiren1 + i);
    Mixer.SetSampleMasterVolume(volume);
}

void SilenceLoops() {
    ChompOn = 0;
    StopFrightAndEyesLoops();
    PauseVoice(ChompVoice);
    StopSirens();
}

void StopFrightAndEyesLoops() {
    FrightLoopOn = 0;
    EyesLoopOn = 0;
    PauseVoice(EyesVoice);
    PauseVoice(FrightVoice);
}

void StopSirens() {
    for (Voice* v : SirenVoices) PauseVoice(v);
}

int SirenForDots(int32_t dots) {
    if (dots < 90) return 0;
    if (dots < 150) return 1;
    if (dots < 190) return 2;
    if (dots < 220) return 3;
    return 4;
}

void StartSiren() { ResumeVoice(SirenVoices[SirenForDots(DotsEaten)]); }
