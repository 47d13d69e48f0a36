// The window procedure: creation, the key commands (start, pause, quit), deactivation,
// the player leaving the window (lost focus); the pause toggle that stops the game's clock.
#pragma once
#include <cstdint>
#include "platform/play_state.h"
#include "platform/win_types.h"

extern uint8_t Paused;
extern uint32_t PauseStartTick;
// 1 while a pause waits for play: the window was left when the pause key could not act.
extern uint8_t PauseWhenPlayable;
constexpr unsigned FrameTimerId = 100;
constexpr unsigned FrameTimerPeriod = 2;  // ms; set when the window is made, never stopped

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void TogglePause();

// A game is on: neither the title nor GAME OVER.
bool GameInPlay();
// What the platform is told (SetPlayStateSource): whether a game is on, paused, or the title.
PlayState GamePlayState();
