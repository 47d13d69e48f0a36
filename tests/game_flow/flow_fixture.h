// Shared set-up of the game-flow tests: a headless world at a known tick, the game's
// globals back at their start values, and stand-in loop voices whose flags can be read.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "tests/support/stand_in_voices.h"

class HeadlessBackend;

class FlowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    uint32_t Now() const;
    void Advance(uint32_t ms);
    // One game frame, then the 11 ms that a frame costing nothing is followed by.
    void Frame();
    // A game started from the title and taken to play (READY! already over).
    void StartPlaying();
    // Puts the player at (x, y) facing dir, ready to step in this frame.
    void PlacePlayer(int32_t x, int32_t y, int32_t dir);

    HeadlessBackend* backend = nullptr;
    StandInVoices voices;
    bool openDisplay = false;
    bool openSound = false;
};
