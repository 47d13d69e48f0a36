// Shared set-up of the game-flow tests: the game world driven frame by frame, and a
// game started from the title.
#pragma once
#include "tests/support/world_test.h"

class FlowTest : public WorldTest {
protected:
    // One game frame, then the 11 ms that a frame costing nothing is followed by.
    void Frame();
    // A game started from the title and taken to play (READY! already over).
    void StartPlaying();
    // Puts the player at (x, y) facing dir, ready to step in this frame.
    void PlacePlayer(int32_t x, int32_t y, int32_t dir);
};
