// One soak run: the real program, headless, with the autopilot at a seed, until it has
// finished a number of games or a virtual time limit has passed.
#pragma once
#include <cstdint>
#include "tests/soak/soak_checks.h"

struct SoakResult {
    SoakChecker checker;
    uint64_t digest = 0;  // of the game's state after every pass: equal runs, equal digests
    uint32_t virtualMs = 0;
    int exitCode = -1;
};

struct SoakSetup {
    uint32_t seed = 1;
    uint64_t games = 1;
    uint32_t limitMs = 0;
    uint32_t startTick = 1000000;
    // Pauses and resumes at random moments of play, and volume keys held now and then,
    // all drawn from the seed.
    bool disturb = false;
};

SoakResult RunSoak(const SoakSetup& setup);
