// What the window tells the player beside the picture, from the game's state: how to leave
// the pause, how to go on after GAME OVER, the volume while the keys change it, a volume
// of 0 at the start, and that a replay is being watched. The backend words and draws it.
#pragma once
#include <cstdint>
#include <string>
#include "platform/hints.h"

// How long GAME OVER stands before its hint comes, and how long the start speaks of a
// volume of 0.
constexpr uint32_t GameOverHintAfterMs = 1500;
constexpr uint32_t SoundOffHintMs = 6000;

// Where a watched replay's status comes from; null when none is watched.
using ReplayHintSource = std::string (*)();
void SetReplayHintSource(ReplayHintSource source);

// The situation at the tick `now`, for the game's state of the moment.
HintSituation CurrentHintSituation(uint32_t now);
// Once per pass of the loop: hands the situation to the backend.
void UpdateWindowHints();
