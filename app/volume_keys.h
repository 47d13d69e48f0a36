// The volume keys, polled once per pass of the loop: held down, they move the volume
// one step of a counter five times finer than the volume itself.
#pragma once
#include <cstdint>

extern int32_t VolumeCounter;  // Sound x 5, 0..320
// When a volume key last acted, for the window's title, which shows the volume a while.
extern uint8_t VolumeKeyActed;  // 0 until one has, in this run
extern uint32_t VolumeKeyTick;

void ApplyVolumeKeys();
