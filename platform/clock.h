// Tick count and sleep, from whichever backend runs the game.
#pragma once
#include <cstdint>

uint32_t GetTickCount();
void Sleep(uint32_t ms);

// Deadline tests that stay right when the 32-bit tick count wraps around: a deadline
// is never more than a few seconds away, so the signed distance decides.
inline bool TickAfter(uint32_t now, uint32_t deadline) { return int32_t(now - deadline) > 0; }
inline bool TickReached(uint32_t now, uint32_t deadline) { return int32_t(now - deadline) >= 0; }
