// The phase machine's state: the phase of a game, its timers, and the two frame
// counters; and the move of every pending deadline when a pause stops the game's clock.
#pragma once
#include <cstdint>

enum GamePhaseValue : int32_t {
    PhaseTitle = 0,
    PhasePlaying = 1,
    PhaseReady = 2,
    PhaseLevelClear = 4,
    PhaseGameOver = 5,
    PhaseGhostEaten = 6,
    PhaseIntermission = 8,
    PhaseSceneDone = 9,
};

extern int32_t GamePhase;
extern uint32_t PhaseTimer;
extern uint32_t LevelClearEnd;
extern int32_t AnimCounter;   // 0..7, one step per frame (0..15 in the second half of the patch scene)
extern int32_t FlashCounter;  // 0..23, one step per frame
extern int32_t SceneIndex;    // 0..2, the intermission scene to run next

// Adds a pause's length to every pending deadline of the game, so that play resumes
// where it stopped. The level-clear flash is not moved: no pause can happen during it.
void MoveDeadlines(uint32_t shift);
