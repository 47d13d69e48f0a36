// The window procedure: creation, the key commands (start, pause, quit), deactivation;
// the pause toggle that stops the game's clock.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

extern uint8_t Paused;
extern uint32_t PauseStartTick;
constexpr unsigned FrameTimerId = 100;

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void TogglePause();
