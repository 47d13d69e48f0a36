// The phase machine's state and the pause's move of the game's deadlines.
#include "game/phase.h"
#include "game/ghosts.h"
#include "game/player.h"
#include "game/score.h"

int32_t GamePhase = PhaseTitle;
uint32_t PhaseTimer = 0;
uint32_t LevelClearEnd = 0;
int32_t AnimCounter = 0;
int32_t FlashCounter = 0;
int32_t SceneIndex = 0;

void MoveDeadlines(uint32_t shift) {
    ScatterTimer += shift;
    FrightEnd += shift;
    PhaseTimer += shift;
    BlinkTick += shift;
    // 0 on these three means "none", and none stays none however long the pause.
    FruitUntil = ShiftDisplayDeadline(FruitUntil, shift);
    FruitPointsUntil = ShiftDisplayDeadline(FruitPointsUntil, shift);
    GhostPointsUntil = ShiftDisplayDeadline(GhostPointsUntil, shift);
    Player.nextStep += shift;
    for (GhostRecord& ghost : Ghosts) ghost.nextStep += shift;
}
