// The volume keys, polled once per pass of the loop: held down, they move the volume
// one step of a counter five times finer than the volume itself.
#pragma once
#include <cstdint>

extern int32_t VolumeCounter;  // Sound x 5, 0..320

void ApplyVolumeKeys();
