// The built-in player: starts games from the title, leaves GAME OVER, and steers by
// pressing the same keys a person would, toward dots, fruit and frightened ghosts and
// away from hunting ones. Deterministic for a seed: its own generator, no wall clock.
#pragma once
#include <cstdint>

void EnableAutopilot(uint32_t seed);
void DisableAutopilot();
bool AutopilotEnabled();
// Once per loop pass, before the message is fetched.
void AutopilotPass();

// The direction (Up, Right, Down, Left) the autopilot takes from the cell centre the
// player stands on, or 0 when the player is not on a centre it decides at.
int32_t AutopilotChoice();
