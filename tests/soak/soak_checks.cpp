// The per-pass invariants of the soak.
#include "tests/soak/soak_checks.h"
#include <sstream>
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"

bool PhaseRoadAllowed(int32_t from, int32_t to) {
    if (from == to) return true;
    switch (from) {
        case PhaseTitle: return to == PhaseReady;
        // A level can end in the very frame play begins, when the last dot was left
        // beside the start after a lost life.
        case PhaseReady: return to == PhasePlaying || to == PhaseLevelClear;
        case PhasePlaying:
            return to == PhaseLevelClear || to == PhaseGhostEaten || to == PhaseReady || to == PhaseGameOver;
        // The freeze ends and, in the same frame, a ghost is eaten again or the last dot goes.
        case PhaseGhostEaten: return to == PhasePlaying || to == PhaseLevelClear;
        case PhaseLevelClear: return to == PhaseIntermission || to == PhaseReady;
        case PhaseIntermission: return to == PhaseSceneDone;
        case PhaseSceneDone: return to == PhaseReady;
        case PhaseGameOver: return to == PhaseTitle;
        default: return false;
    }
}

int32_t EatenCells() {
    int32_t n = 0;
    for (int32_t cell : MazeGrid) n += (cell == EatenDot || cell == EatenEnergiser);
    return n;
}

void SoakChecker::Fail(uint32_t tick, const std::string& what) {
    if (violations_.size() >= 20) return;
    std::ostringstream s;
    s << "pass " << figures_.passes << " tick " << tick << ": " << what;
    violations_.push_back(s.str());
}

// A fruit stands only from the pass whose dot count brings it (76 or 160) to the end of
// its time, and comes once a count in a level; a life lost at that very count lets it
// come again after READY!.
void SoakChecker::CheckFruit(uint32_t tick) {
    if (Paused == 1) return;  // the clock of the game stands still, the fruit's time with it
    if (DotsEaten == 0) fruitsAt76_ = fruitsAt160_ = 0;
    if (Player.lives < lives_) {
        if (DotsEaten == 76 && fruitsAt76_ > 0) --fruitsAt76_;
        if (DotsEaten == 160 && fruitsAt160_ > 0) --fruitsAt160_;
    }
    lives_ = Player.lives;
    const bool on = FruitUntil != 0 && int32_t(tick - FruitUntil) < 0;
    if (on && !fruitOn_) {
        ++figures_.fruitsShown;
        int32_t* shown = DotsEaten == 76 ? &fruitsAt76_ : DotsEaten == 160 ? &fruitsAt160_ : nullptr;
        if (!shown) Fail(tick, "a fruit appeared at " + std::to_string(DotsEaten) + " dots");
        else if (++*shown > 1) Fail(tick, "a second fruit at " + std::to_string(DotsEaten) + " dots");
    }
    if (on && FruitUntil - tick > uint32_t(FruitDuration))
        Fail(tick, "the fruit stands " + std::to_string(FruitUntil - tick) + " ms more, longer than its " +
                       std::to_string(FruitDuration) + " ms");
    fruitOn_ = on;
}

void SoakChecker::Pass(uint32_t tick) {
    ++figures_.passes;
    const int32_t phase = GamePhase;
    if (first_) {
        first_ = false;
        phase_ = phase;
        phaseStart_ = lastMeal_ = tick;
        score_ = Score;
        dots_ = DotsEaten;
        lives_ = Player.lives;
    }
    if (Paused == 1 && paused_ == 0) ++figures_.pauses;
    paused_ = Paused;
    CheckFruit(tick);

    if (DotsEaten != EatenCells())
        Fail(tick, "DotsEaten " + std::to_string(DotsEaten) + " but the grid has " + std::to_string(EatenCells()) +
                       " eaten cells");
    if (Player.lives < 0 || Player.lives > 6) Fail(tick, "lives " + std::to_string(Player.lives));
    if (Score < 0 || Score >= 9999999) Fail(tick, "score " + std::to_string(Score) + " outside 0..9999998");

    if (phase != phase_) {
        if (!PhaseRoadAllowed(phase_, phase))
            Fail(tick, "phase " + std::to_string(phase_) + " -> " + std::to_string(phase));
        if (phase_ == PhasePlaying && tick - phaseStart_ > figures_.longestPlayingStretch)
            figures_.longestPlayingStretch = tick - phaseStart_;
        if (phase == PhaseGameOver) {
            ++figures_.gamesFinished;
            figures_.finalScores.push_back(Score);
            figures_.finalLevels.push_back(Level);
        }
        if (phase == PhaseLevelClear) ++figures_.levelsCleared;
        phase_ = phase;
        phaseStart_ = tick;
    }
    // Title and GAME OVER wait for a key; play is long but must keep eating; every
    // other phase is timed and ends well within 30 s.
    const uint32_t inPhase = tick - phaseStart_;
    if (phase != PhaseTitle && phase != PhaseGameOver && phase != PhasePlaying && inPhase > PhaseLimitMs)
        Fail(tick, "phase " + std::to_string(phase) + " has lasted " + std::to_string(inPhase) + " ms");

    if (Score < score_) {
        const bool newGame = Score == 0 && phase == PhaseReady;
        const bool wrapped = int64_t(score_) + 5000 >= 9999999;
        if (!newGame && !wrapped)
            Fail(tick, "score fell from " + std::to_string(score_) + " to " + std::to_string(Score));
    }
    if (DotsEaten != dots_ || phase != PhasePlaying) lastMeal_ = tick;
    if (tick - lastMeal_ > figures_.longestStandstill) figures_.longestStandstill = tick - lastMeal_;
    if (phase == PhasePlaying && tick - lastMeal_ > PhaseLimitMs && !stuckReported_) {
        stuckReported_ = true;
        std::string left;
        for (int i = 0; i < MazeRows * MazeColumns; ++i)
            if (MazeGrid[i] == Dot || MazeGrid[i] == Energiser)
                left += " (" + std::to_string(i % MazeColumns) + "," + std::to_string(i / MazeColumns) + ")";
        Fail(tick, "no cell eaten for " + std::to_string(tick - lastMeal_) + " ms of play; left:" + left +
                       "; player at (" + std::to_string(Player.x) + "," + std::to_string(Player.y) + ")");
    }
    if (DotsEaten != dots_ || phase != PhasePlaying) stuckReported_ = false;

    score_ = Score;
    dots_ = DotsEaten;
    if (Level > figures_.highestLevel) figures_.highestLevel = Level;
    if (Score > figures_.bestScore) figures_.bestScore = Score;
}
