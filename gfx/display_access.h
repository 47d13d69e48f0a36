// The game's hold on the screen: full screen, display and input opened, the art set built.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

extern uint32_t ScreenWidth;
extern uint32_t ScreenHeight;

int OpenDisplay(HWND window);
int CloseDisplay();
