// The in-game frame: the phase machine, the world update in its fixed order, and the
// composition of the board, score panel and captions; and the starts of a game and of
// a round.
#pragma once
#include <cstdint>

extern uint32_t FrameStartTick;  // written by GameFrame at its very start; 0 until the first
// 1 once GameFrame has run: a frame can start at tick 0 when the clock wraps, so the
// tick alone cannot say that no game frame has run yet.
extern uint8_t FrameStarted;

void GameFrame();
// A new game from the title: the loop voices, level 1, score 0, three lives, READY!
// with the start tune.
void StartNewGame();
// The next round of a level, or the first of a new level: actors home, dots back, READY!.
void StartRound();

// Level after `level` once it is cleared: levels 18 to LastLevel repeat for ever.
constexpr int32_t LastLevel = 21;
int32_t NextLevel(int32_t level);
