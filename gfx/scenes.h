// The three intermission scenes, scripted in frames on a black screen.
// The ghost's position lives in the red ghost's record (Ghosts[0].x, .y).
#pragma once
#include <cstdint>

extern int32_t SceneDirection;  // -1 in the first half, +1 after the turn
extern int32_t SceneStarted;
extern int32_t TearCounter;
extern int32_t ScenePlayerX, ScenePlayerY;
extern int32_t ScenePlayerFrame;

void ChaseScene();
void SnagScene();
void PatchScene();
