// Shared set-up of the rules tests: the game world with the player and ghosts placed by
// hand, and the ghosts stepped frame by frame.
#pragma once
#include "tests/support/world_test.h"

class RulesTest : public WorldTest {
protected:
    // Level set-up and the end of the ready phase, as the frame does them.
    void BeginPlay(int32_t level);
    // Puts the player at (x, y), alive, facing dir; it stays put unless a test moves it.
    void PlacePlayer(int32_t x, int32_t y, int32_t dir);
    // Puts ghost g (1..4) out of the house at (x, y) in a mode, heading dir, due to step.
    void PlaceGhost(int g, int32_t x, int32_t y, int32_t dir, int32_t mode = 1);
    // Runs UpdateGhosts on frames 11 ms apart until ghost g has moved `pixels` times.
    void StepGhostPixels(int g, int pixels);
};
