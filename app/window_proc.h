// The window procedure: creation, the key commands (start, pause, quit), deactivation;
// the new-game sequence and the pause toggle that stops the game's clock.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

class Voice;

extern uint8_t Paused;
extern uint32_t PauseStartTick;
// Set once the back key or deactivation has closed the sound system: its voices are gone.
extern uint8_t SoundClosed;
constexpr unsigned FrameTimerId = 100;

// The looped voices, started and paused by every new game; null when none was had.
extern Voice* ChompVoice;
extern Voice* FrightVoice;
extern Voice* EyesVoice;
extern Voice* SirenVoices[5];

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void StartNewGame();
void TogglePause();

// Pause/Resume a looped voice; a missing voice, or one of a closed sound system, is skipped.
void PauseVoice(Voice* voice);
void ResumeVoice(Voice* voice);
