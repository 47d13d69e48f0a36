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

TEST(Soak, WholeGamesKeepEveryInvariant) {
    // GLIMMO_SOAK_GAMES in the environment plays another number of games.
    const char* env = std::getenv("GLIMMO_SOAK_GAMES");
    const uint64_t wanted = env && std::atoi(env) > 0 ? uint64_t(std::atoi(env)) : uint64_t(SOAK_GAMES);
    const uint64_t gamesPerSeed = wanted >= 20 ? 5 : 1;
    uint64_t games = 0, passes = 0, clears = 0;
    uint64_t virtualMs = 0;
    int32_t highest = 0;
    uint32_t longestStretch = 0, longestStandstill = 0;
    std::vector<int32_t> levels, scores;
    for (uint32_t seed = 1; games < wanted; ++seed) {
        SoakResult r = RunSoak(seed, gamesPerSeed, uint32_t(gamesPerSeed * LimitPerGameMs));
        ASSERT_EQ(r.exitCode, 0);
        for (const std::string& v : r.checker.Violations()) ADD_FAILURE() << "seed " << seed << ", " << v;
        const SoakFigures& f = r.checker.Figures();
        ASSERT_EQ(f.gamesFinished, gamesPerSeed) << "seed " << seed << " did not finish its games in time";
        games += f.gamesFinished;
        passes += f.passes;
        clears += f.levelsCleared;
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
    std::printf("soak: %llu games, %llu passes, %.1f virtual minutes, %llu levels cleared, highest level %d, "
                "mean final level %.2f, mean final score %.0f, best %d; longest play without a phase change %u ms, "
                "longest play without eating %u ms\n",
                (unsigned long long)games, (unsigned long long)passes, double(virtualMs) / 60000.0,
                (unsigned long long)clears, highest, meanLevel, meanScore,
                *std::max_element(scores.begin(), scores.end()), longestStretch, longestStandstill);
    EXPECT_GE(games, wanted);
    EXPECT_GT(clears, 0u) << "the autopilot should clear levels";
}

TEST(Soak, TheSameSeedPlaysTheSameGame) {
    SoakResult a = RunSoak(42, 1, LimitPerGameMs);
    SoakResult b = RunSoak(42, 1, LimitPerGameMs);
    EXPECT_EQ(a.checker.Figures().passes, b.checker.Figures().passes);
    EXPECT_EQ(a.digest, b.digest);
    SoakResult c = RunSoak(43, 1, LimitPerGameMs);
    EXPECT_NE(a.digest, c.digest);
}

}  // namespace
