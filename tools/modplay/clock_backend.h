// The platform backend of glimmo-modplay on the audio device: a real monotonic clock
// and nothing else (no window, no display, no keys).
#pragma once
#include "platform/backend.h"

// Puts the clock backend in force.
void UseClockBackend();
