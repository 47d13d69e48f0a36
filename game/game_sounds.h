// The game's sounds: the sound system, the fifteen sample slots and the module (global
// objects built in that order), the slot numbers, and the looped voices that every new
// game starts paused and the frame then resumes and pauses as play goes.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include "platform/global_object.h"
#include "platform/win_types.h"

class SoundSystem;
class Sample;
class Module;
class Voice;

extern SoundSystem& Mixer;
extern std::array<Sample, 15>& GameSamples;
extern Module& GameModule;
// The volume of the sound effects, 0..64 (16 at first), kept between runs.
extern int32_t Sound;
// The sound system, the samples and the module, in the order they are built.
std::span<GlobalObjectSlot* const> GameSoundObjects();

// Game sample slots.
enum GameSample : int {
    SampleDeath = 0,
    SampleChomp = 1,
    SampleGhostEaten = 2,
    SampleExtraLife = 3,
    SampleFruit = 4,
    SampleStartTune = 5,
    SampleFright = 6,
    SampleEyes = 7,
    SampleIntermission = 8,
    SampleSiren1 = 9,  // sirens 9..13, each higher than the one before
};

// Slots 0..13 from their WAVE resources, with the loop flag on the eight looped ones.
void LoadGameSamples(HINSTANCE instance);
void PlayGameSample(int slot);

// The looped voices, started and paused by every new game; null when none was had.
extern Voice* ChompVoice;
extern Voice* FrightVoice;
extern Voice* EyesVoice;
extern Voice* SirenVoices[5];
// Which loops the frame has resumed.
extern int32_t ChompOn;
extern int32_t FrightLoopOn;
extern int32_t EyesLoopOn;
// Set once the back key or deactivation has closed the sound system: its voices are gone.
extern uint8_t SoundClosed;

// Pause/Resume a looped voice; a missing voice, or one of a closed sound system, is skipped.
void PauseVoice(Voice* voice);
void ResumeVoice(Voice* voice);
// A new game's sounds: everything stopped, then each looped slot started and paused at
// once, all at volume 0, and the volume set back to `volume`.
void StartLoopVoices(int32_t volume);
// Every loop falls silent: chomp, fright, eyes and the siren.
void SilenceLoops();
// The fright and eyes loops fall silent (the siren is left as it is).
void StopFrightAndEyesLoops();
// The siren: silent, or the pitch that the count of eaten cells calls for.
void StopSirens();
void StartSiren();
// Which of the five sirens (0..4) plays at a count of eaten cells.
int SirenForDots(int32_t dots);
