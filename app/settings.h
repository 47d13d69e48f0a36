// The two settings kept between runs (the best score HiScore and the volume Sound, which
// the game owns) and the device's key clicks, silenced while the game runs and given back
// when it quits.
#pragma once
#include <cstdint>
#include "game/game_sounds.h"
#include "game/score.h"
#include "platform/win_types.h"

extern uint32_t SavedBeepMode;    // key-click mode as it was before the game blanked it
extern uint8_t SavedScript[30];   // key-click sound as it was (15 UTF-16 units)
extern uint32_t SavedScriptSize;  // bytes of it read; 30 (all zero) when none was read

// A key-click sound longer than 30 bytes is kept whole here (up to the limit) and given
// back at its own length; a longer one still is left alone: neither blanked nor rewritten.
constexpr uint32_t SavedScriptLimit = 1024;
constexpr uint32_t ScriptLeftAlone = 0xFFFFFFFF;
extern uint8_t SavedScriptLong[SavedScriptLimit];
extern uint32_t SavedScriptLongSize;  // 0 when the sound fitted in 30 bytes, or ScriptLeftAlone

// A stored volume beyond this (either sign) cannot be held as a counter (x 5): ignored.
constexpr int32_t SoundLimit = 429496729;

LONG LoadSettings();
// Writes HiScore and Sound, then gives the key clicks back. While the autopilot plays
// (a demo) HiScore is left as it was stored: the demo's score is not the player's.
LONG SaveSettings();
LONG RestoreKeyClicks();
// The desktop session ends under the game (its display is gone): keeps what the back key
// would, when the settings are loaded and not yet saved or given back. True when it did.
bool KeepSettingsAtSessionEnd();
