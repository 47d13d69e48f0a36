// Shared set-up of the rules tests: a headless world at a known tick, the game's globals
// as a level start leaves them, and stand-in loop voices whose pause flags can be read.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include "tests/support/stand_in_voices.h"

class HeadlessBackend;

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    uint32_t Now() const;
    void Advance(uint32_t ms);
    // Level set-up and the end of the ready phase, as the frame does them.
    void BeginPlay(int32_t level);
    // Puts the player at (x, y), alive, facing dir.
    void PlacePlayer(int32_t x, int32_t y, int32_t dir);
    // Puts ghost g (1..4) out of the house at (x, y) in a mode, heading dir, due to step.
    void PlaceGhost(int g, int32_t x, int32_t y, int32_t dir, int32_t mode = 1);
    // Runs UpdateGhosts on frames 11 ms apart until ghost g has moved `pixels` times.
    void StepGhostPixels(int g, int pixels);

    HeadlessBackend* backend = nullptr;
    StandInVoices voices;
    bool openDisplay = false;
    uint32_t startTick = 1000000;
};
