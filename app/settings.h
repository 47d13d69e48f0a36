// The two settings kept between runs (best score and volume) and the device's key
// clicks, silenced while the game runs and given back when it quits.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

extern int32_t HiScore;            // best score
extern int32_t Sound;              // master volume of the sound effects, 0..64, default 16
extern uint32_t SavedBeepMode;     // key-click mode as it was before the game blanked it
extern uint8_t SavedScript[30];    // key-click sound as it was (15 UTF-16 units)

LONG LoadSettings();
LONG SaveSettings();
LONG RestoreKeyClicks();
