// The in-game frame: the phase machine, the world update in its fixed order,
// and the composition of the board, score panel and captions.
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
extern int32_t ChompOn;
extern int32_t FrightLoopOn;
extern int32_t EyesLoopOn;

void GameFrame();
void StartRound();
