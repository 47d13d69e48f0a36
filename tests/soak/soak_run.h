// One soak run: the real program, headless, with the autopilot at a seed, until it has
// finished a number of games or a virtual time limit has passed.
#pragma once
#include <cstdint>
#include "tests/soak/soak_checks.h"

struct SoakResult {
    SoakChecker checker;
    uint64_t digest = 0;       // of the game's state after every pass: equal runs, equal digests
    uint32_t virtualMs = 0;
    int exitCode = -1;
};

SoakResult RunSoak(uint32_t seed, uint64_t games, uint32_t limitMs);
