// Score, fruit, lives and levels: the per-level table, the collision test, the fruit,
// the extra life and the score wrap. What the score draws is in score_drawing.h.
#pragma once
#include <cstdint>
// For the screens that draw the panel and include this header alone.

// A score reaching ScoreWrap starts again from 0; lives never go past MaxLives.
constexpr int32_t ScoreWrap = 9999999;
constexpr int32_t MaxLives = 6;

extern int32_t Score;
extern int32_t HiScore;  // the best score, kept between runs
extern int32_t Level;
extern int32_t FruitCount;
extern int32_t FruitShown;
// The fruit's time and the two points displays: 0 means none (gone, eaten, never
// shown) and is never compared as a time.
extern uint32_t FruitUntil;
extern uint32_t FruitPointsUntil;
extern uint32_t GhostPointsUntil;
extern int32_t FruitDuration;
extern int32_t GhostPointsX, GhostPointsY;
extern const int32_t FruitKindByLevel[28];
extern const int32_t FruitPoints[9];
// Where the fruit stands and is eaten.
constexpr int32_t FruitX = 82, FruitY = 118;

// One row of the per-level table applied by SetupLevel.
struct LevelRow {
    int32_t stepInterval;
    int32_t frightDuration;
    int32_t fruitDuration;
};
LevelRow LevelSettings(int32_t level);
// The fruit of a level (its entry of FruitKindByLevel, held in range) and its points.
int32_t FruitKindForLevel(int32_t level);
int32_t FruitPointsForKind(int32_t kind);

// A display deadline moved on by a pause: none stays none, and a moved deadline that
// would land on 0 is kept 1 ms later so it does not turn into none.
uint32_t ShiftDisplayDeadline(uint32_t deadline, uint32_t shift);
// A display deadline still ahead; 0 means none (a fruit gone or eaten), whatever the
// tick count, and ticks are compared by their difference so the wrap does no harm.
bool DisplayPending(uint32_t now, uint32_t until);

void ResetGame();
void ResetTimers();
void SetupLevel();
void CheckCollisions();  // reads its own tick
void ScoreGhost();
void FruitAppearanceRule(uint32_t now);
void ExtraLifeRule(int32_t scoreBefore);  // then the score wrap and the six-life cap
// The best score follows the score up.
void KeepBestScore();
