// The four ghosts: release from the house, greedy steering toward targets that follow
// their characters, scatter, fright and blink, eyes running home, and the loop sounds
// that follow their modes.
#pragma once
#include <cstdint>

enum GhostMode : int32_t { Eyes = 0, Normal = 1, Frightened = 2 };

struct GhostRecord {
    int32_t x, y;
    int32_t mode;
    int32_t dir;
    int32_t targetX, targetY;
    int32_t homeX, homeY;
    int32_t extraDelay;
    uint8_t chasing;
    uint8_t inHouse;
    int32_t inTunnel;
    uint32_t nextStep;  // while in the house: the release time
};

extern GhostRecord Ghosts[4];  // ghost g (1..4) is Ghosts[g - 1]: red, cyan, pink, orange
extern uint8_t FrightActive;
extern uint32_t FrightEnd;
extern int32_t FrightDuration;
extern int32_t GhostsEaten;
extern uint32_t BlinkTick;
extern int32_t BlinkPhase;
extern uint32_t ScatterTimer;

void ResetGhosts();
void PlaceTitleGhosts();
void UpdateGhosts(uint32_t now);
void StepGhost(int g);  // g = 1..4
// The timed rules, run right after UpdateGhosts in this order.
void ScatterRule(uint32_t now);
void FrightEndRule(uint32_t now);
void BlinkRule(uint32_t now);
void ScatterGhosts();
void FleeGhosts();
void FrightenGhosts();
void CalmGhosts();
void EndFrightIfNone();
void SelectLoopSound(uint32_t now);
void DrawGhosts();
