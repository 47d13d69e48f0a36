// The autopilot plays whole games across seeds while every pass is checked; the figures
// (games, levels, frames, scores) are printed for the record.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include "tests/soak/soak_run.h"

#ifndef SOAK_GAMES
#define SOAK_GAMES 4
#endif

namespace {

// A game lasts a few minutes of virtual time; no run may go on for ever.
constexpr uint32_t LimitPerGameMs = 60 * 60 * 1000;

// The clocks the games start at, in turn: the usual one, a minute before the middle of
// the 32-bit count, past the middle, and a minute before it wraps round to 0.
constexpr uint32_t StartTicks[] = {1000000u, 0x80000000u - 60000u, 0x90000000u, 0u - 60000u};

TEST(Soak, WholeGamesKeepEveryInvariant) {
    // GLIMMO_SOAK_GAMES in the environment plays another number of games.
    const char* env = std::getenv("GLIMMO_SOAK_GAMES");
    const uint64_t wanted = env && std::atoi(env) > 0 ? uint64_t(std::atoi(env)) : uint64_t(SOAK_GAMES);
    const uint64_t gamesPerSeed = wanted >= 20 ? 5 : 1;
    uint64_t games = 0, passes = 0, clears = 0, fruits = 0, pauses = 0;
    uint64_t virtualMs = 0;
    int32_t highest = 0;
    uint32_t longestStretch = 0, longestStandstill = 0;
    std::vector<int32_t> levels, scores;
    for (uint32_t seed = 1; games < wanted; ++seed) {
        SoakSetup setup;
        setup.seed = seed;
        setup.games = gamesPerSeed;
        setup.limitMs = uint32_t(gamesPerSeed * LimitPerGameMs);
        setup.startTick = StartTicks[(seed - 1) % std::size(StartTicks)];
        setup.disturb = true;
        SoakResult r = RunSoak(setup);
        ASSERT_EQ(r.exitCode, 0);
        for (const std::string& v : r.checker.Violations())
            ADD_FAILURE() << "seed " << seed << " from tick " << setup.startTick << ", " << v;
        const SoakFigures& f = r.checker.Figures();
        ASSERT_EQ(f.gamesFinished, gamesPerSeed) << "seed " << seed << " did not finish its games in time";
        games += f.gamesFinished;
        passes += f.passes;
        clears += f.levelsCleared;
        fruits += f.fruitsShown;
        pauses += f.pauses;
        virtualMs += r.virtualMs;
        highest = std::max(highest, f.highestLevel);
        longestStretch = std::max(longestStretch, f.longestPlayingStretch);
        longestStandstill = std::max(longestStandstill, f.longestStandstill);
        levels.insert(levels.end(), f.finalLevels.begin(), f.finalLevels.end());
        scores.insert(scores.end(), f.finalScores.begin(), f.finalScores.end());
        if (HasFailure()) break;
    }
    const double meanLevel = double(std::accumulate(levels.begin(), levels.end(), int64_t{0})) / double(levels.size());
    const double meanScore = double(std::accumulate(scores.begin(), scores.end(), int64_t{0})) / double(scores.size());
    std::printf(
        "soak: %llu games, %llu passes, %.1f virtual minutes, %llu levels cleared, highest level %d, "
        "mean final level %.2f, mean final score %.0f, best %d; longest play without a phase change %u ms, "
        "longest play without eating %u ms; %llu fruits shown, %llu pauses; start ticks %u, %u, %u and %u "
        "in turn\n",
        (unsigned long long)games, (unsigned long long)passes, double(virtualMs) / 60000.0, (unsigned long long)clears,
        highest, meanLevel, meanScore, *std::max_element(scores.begin(), scores.end()), longestStretch,
        longestStandstill, (unsigned long long)fruits, (unsigned long long)pauses, StartTicks[0], StartTicks[1],
        StartTicks[2], StartTicks[3]);
    EXPECT_GE(games, wanted);
    EXPECT_GT(clears, 0u) << "the autopilot should clear levels";
}

TEST(Soak, TheSameSeedPlaysTheSameGame) {
    SoakSetup setup;
    setup.seed = 42;
    setup.limitMs = LimitPerGameMs;
    SoakResult a = RunSoak(setup);
    SoakResult b = RunSoak(setup);
    EXPECT_EQ(a.checker.Figures().passes, b.checker.Figures().passes);
    EXPECT_EQ(a.digest, b.digest);
    setup.seed = 43;
    SoakResult c = RunSoak(setup);
    EXPECT_NE(a.digest, c.digest);
}

}  // namespace
