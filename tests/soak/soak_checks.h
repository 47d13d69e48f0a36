// The invariants a whole game must keep, checked after every pass of the main loop:
// the eaten count against the grid, the lives, the phase machine's roads and lengths,
// and the score that only wraps at 9999999.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SoakFigures {
    uint64_t passes = 0;
    uint64_t gamesFinished = 0;  // GAME OVER reached
    uint64_t levelsCleared = 0;
    int32_t highestLevel = 0;
    int64_t bestScore = 0;
    uint32_t longestPlayingStretch = 0;  // ms of play without a change of phase
    uint32_t longestStandstill = 0;      // ms of play without eating anything
    uint64_t fruitsShown = 0;
    uint64_t pauses = 0;
    std::vector<int32_t> finalScores;
    std::vector<int32_t> finalLevels;
};

class SoakChecker {
public:
    // Called after every pass with its tick; records the first few violations.
    void Pass(uint32_t tick);
    const std::vector<std::string>& Violations() const { return violations_; }
    const SoakFigures& Figures() const { return figures_; }

    static constexpr uint32_t PhaseLimitMs = 30000;

private:
    void Fail(uint32_t tick, const std::string& what);
    void CheckFruit(uint32_t tick);
    SoakFigures figures_;
    std::vector<std::string> violations_;
    bool first_ = true;
    int32_t phase_ = 0;
    uint32_t phaseStart_ = 0;
    int32_t score_ = 0;
    int32_t dots_ = 0;
    uint32_t lastMeal_ = 0;
    bool stuckReported_ = false;
    bool fruitOn_ = false;
    int32_t lives_ = 0;
    int32_t paused_ = 0;
    int32_t fruitsAt76_ = 0, fruitsAt160_ = 0;  // this level's appearances, less those a death allows again
};

// Whether the phase machine may go from one phase to another within one pass.
bool PhaseRoadAllowed(int32_t from, int32_t to);
// Cells of the grid eaten this level.
int32_t EatenCells();
