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

// Deadline tests that stay right when the 32-bit tick count wraps around: a deadline
// is never more than a few seconds away, so the signed distance decides.
inline bool TickAfter(uint32_t now, uint32_t deadline) { return int32_t(now - deadline) > 0; }
inline bool TickReached(uint32_t now, uint32_t deadline) { return int32_t(now - deadline) >= 0; }

// Level after `level` once it is cleared: levels 18 to 21 repeat for ever.
int32_t NextLevel(int32_t level);
