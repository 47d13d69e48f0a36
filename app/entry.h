// Process entry: the global objects, the single-instance rule, start-up and the
// message loop that runs one frame per message with the 12 ms pacing.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

class SoundSystem;
class Sample;
class Module;

extern HINSTANCE AppInstance;
extern int32_t VolumeCounter;    // Sound x 5; the volume keys move it one step per pass
extern uint32_t FrameStartTick;  // written by GameFrame at its very start

// The global objects of the game, constructed in their fixed order by
// ConstructGlobalObjects and destroyed in reverse by DestroyGlobalObjects.
extern SoundSystem& Mixer;
extern Sample (&GameSamples)[15];
extern Module& GameModule;

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

void ConstructGlobalObjects();
void DestroyGlobalObjects();

void RegisterWindowClass(HINSTANCE instance, const WCHAR* className);
bool InitInstance(HINSTANCE instance, int showCommand);
// Slots 0..13 from their WAVE resources, with the loop flag on the eight looped ones.
void LoadGameSamples(HINSTANCE instance);
// The entry: start-up, then the message loop; returns the process exit code.
int GameEntry(HINSTANCE instance, HINSTANCE previous, const WCHAR* commandLine, int showCommand);

// The volume keys, once per loop pass.
void ApplyVolumeKeys();
// Milliseconds the loop sleeps after a frame that began at frameStart, the tick now being now.
uint32_t PacingSleep(uint32_t now, uint32_t frameStart);
