// Tick count and sleep, from whichever backend runs the game.
#pragma once
#include <cstdint>

uint32_t GetTickCount();
void Sleep(uint32_t ms);
