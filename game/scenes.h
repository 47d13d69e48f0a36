// The three intermission scenes, scripted in frames on a black screen.
// The ghost's position lives in the red ghost's record (Ghosts[0].x, .y).
#pragma once
#include <cstdint>

extern int32_t SceneDirection;  // -1 in the first half, +1 after the turn
extern int32_t SceneStarted;
extern int32_t TearCounter;
extern int32_t ScenePlayerX, ScenePlayerY;
extern int32_t ScenePlayerFrame;
// The scene ghost's position: names for Ghosts[0].x and Ghosts[0].y, whose unit
// (pixels, half or third pixels) depends on the scene and its half.
extern int32_t& SceneGhostX;
extern int32_t& SceneGhostY;

// Back to the first frame of a scene, for the next intermission.
void ResetScenes();
void ChaseScene();
void SnagScene();
void PatchScene();

// The snagged ghost's look at tear stage s (0..9, one stage per 60 frames snagged).
struct SnagStage {
    int32_t clothX;  // the torn cloth's cell in the scene sheet, 12 x 5 at y 28
    bool torn;       // the torn body of the scene sheet instead of the red ghost
    int32_t eyesX;   // the eyes' cell in the sprite sheet, 12 x 12 at y 48
    int32_t pull;    // how far left of the nail the body is pulled
};
constexpr int32_t SnagStageCount = 10;
extern const SnagStage SnagStages[SnagStageCount];
