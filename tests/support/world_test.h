// The base of the tests that work on the game's globals in a headless world: the world
// at a known tick, the globals as a level start leaves them, and stand-in loop voices
// whose pause flags can be read.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "tests/support/stand_in_voices.h"

class HeadlessBackend;

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    uint32_t Now() const;
    void Advance(uint32_t ms);
    // Puts the player at (x, y), alive, facing dir, its next step due at `nextStep`.
    void PutPlayer(int32_t x, int32_t y, int32_t dir, uint32_t nextStep);

    HeadlessBackend* backend = nullptr;
    StandInVoices voices;
    // Set these before SetUp runs.
    bool openDisplay = false;
    bool openSound = false;
    uint32_t startTick = 1000000;
};
