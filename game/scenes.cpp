// The three intermission scenes: the chase and its reversal, the ghost snagged on a nail
// and torn, and the patched ghost walking back without its cloth. Each call draws and
// advances one frame; the figures move by fixed steps per frame, not by the clock.
#include "game/scenes.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/phase.h"
#include "game/score_drawing.h"
#include "gfx/art.h"
#include "gfx/surface.h"

int32_t SceneDirection;
int32_t SceneStarted;
int32_t TearCounter;
int32_t ScenePlayerX, ScenePlayerY;
int32_t ScenePlayerFrame;
// The scene ghost borrows the red ghost's record: the next level's set-up overwrites it.
int32_t& SceneGhostX = Ghosts[0].x;
int32_t& SceneGhostY = Ghosts[0].y;

const SnagStage SnagStages[SnagStageCount] = {
    {0, false, 12, 1},  {12, false, 12, 2}, {24, false, 36, 4}, {36, false, 36, 6}, {48, false, 36, 8},
    {60, true, 12, 10}, {72, true, 36, 12}, {72, true, 36, 12}, {72, true, 24, 12}, {72, true, 24, 12},
};

namespace {

constexpr int32_t FigureY = 104;            // every figure runs along this row
constexpr int32_t SmallPlayerStartX = 354;  // half pixels: x 177, just off the right edge
constexpr int32_t ChaseGhostStartX = 180;   // pixels, off the right edge
constexpr int32_t SnagGhostStartX = 384;    // half pixels: x 192
constexpr int32_t StartUpBelowX = 225;      // the ghost sets off once the player is left of x 112.5
constexpr int32_t ChaseTurnBelowX = -20;
constexpr int32_t PatchTurnBelowX = -50;
constexpr int32_t GiantStartX = -30;
constexpr int32_t SnagFromX = 78;  // below this the ghost's right edge has reached the nail
constexpr int32_t NailX = 88, NailY = 113;
constexpr int32_t FramesPerTearStage = 60;

// Small player's mouth cells (x in the sprite sheet, y 0), one per three frames.
constexpr int32_t SmallPlayerCells[5] = {60, 48, 36, 48, 60};
// Giant player's cells (x in the scene sheet, y 1), one per three frames.
constexpr int32_t GiantPlayerCells[6] = {1, 23, 45, 67, 45, 23};

constexpr int32_t EyesLeftX = 12, EyesY = 48;

void StartTune() { PlayGameSample(SampleIntermission); }

// The first frame of every scene: the figures at their marks, the tune.
void StartScene(int32_t ghostX) {
    if (SceneStarted != 0) return;
    ScenePlayerX = SmallPlayerStartX;
    ScenePlayerY = FigureY;
    ScenePlayerFrame = 0;
    SceneGhostX = ghostX;
    SceneGhostY = FigureY;
    StartTune();
    SceneStarted = 1;
}

void DrawSmallPlayer() {
    uint32_t f = uint32_t(ScenePlayerFrame) / 3 % 5;
    DrawSprite(ScenePlayerX / 2, ScenePlayerY, 12, 12, SmallPlayerCells[f], 0);
}

// The small player runs left half a pixel per frame, its mouth on a 15-frame cycle.
void StepSmallPlayer() {
    ScenePlayerFrame = (ScenePlayerFrame + 1) % 15;
    ScenePlayerX -= 1;
}

void DrawChasingGhost(int32_t x, int32_t y) {
    DrawSprite(x, y, 12, 12, AnimCounter < 4 ? 0 : 12, 24);
    DrawSprite(x, y, 12, 12, EyesLeftX, EyesY);
}

// The ghost waits off the right edge until the player is past the middle, then runs
// two pixels in every three frames, catching up with the player's half pixel.
void GhostStartUp() {
    if (ScenePlayerX < StartUpBelowX && ScenePlayerFrame % 3 != 0) SceneGhostX -= 1;
}

// The turn: the figures go back to the left edge and the tune starts again.
void Turn(int32_t ghostX) {
    SceneGhostX = ghostX;
    SceneGhostY = FigureY;
    ScenePlayerFrame = 0;
    ScenePlayerX = GiantStartX;
    ScenePlayerY = FigureY;
    SceneDirection = +1;
    StartTune();
}

}  // namespace

void ChaseScene() {
    CopySurface(BackBuffer, BlackBackdrop);
    StartScene(ChaseGhostStartX);
    if (SceneDirection > 0) {
        // A giant player chases the frightened ghost (x in half pixels) off the right edge.
        uint32_t f = uint32_t(ScenePlayerFrame) / 3 % 6;
        DrawSprite(ScenePlayerX, ScenePlayerY - 12, 20, 20, GiantPlayerCells[f], 1, SceneSheet);
        int32_t gx = SceneGhostX / 2;
        DrawSprite(gx, SceneGhostY, 12, 12, AnimCounter < 4 ? 0 : 12, 36);
        DrawSprite(gx, SceneGhostY, 12, 12, 48, 48);
        ScenePlayerFrame = (ScenePlayerFrame + 1) % 18;
        SceneGhostX += 1;
        // The giant player waits off-screen until the ghost has passed x 87.
        if (SceneGhostX > 175) ScenePlayerX += 1;
        if (ScenePlayerX > 186 && SceneDirection > 0) GamePhase = PhaseSceneDone;
    } else {
        DrawSmallPlayer();
        DrawChasingGhost(SceneGhostX, SceneGhostY);
        StepSmallPlayer();
        GhostStartUp();
        if (SceneGhostX < ChaseTurnBelowX) Turn(ChaseTurnBelowX);  // ghost x in half pixels from now on
    }
    DrawLevelFruits();
    AnimCounter = (AnimCounter + 1) % 8;
    PresentFrame();
}

void SnagScene() {
    CopySurface(BackBuffer, BlackBackdrop);
    uint32_t white = MakeColour(BackBuffer, 0xFFFFFF);
    PutPixel(BackBuffer, NailX, NailY, white);
    PutPixel(BackBuffer, NailX, NailY + 1, white);
    StartScene(SnagGhostStartX);

    DrawSmallPlayer();
    StepSmallPlayer();
    int32_t g = SceneGhostX / 2;
    if (g >= SnagFromX) {
        DrawChasingGhost(g, SceneGhostY);
        SceneGhostX -= 1;  // half a pixel per frame, the player's speed
    } else {
        // Snagged: the cloth stays on the nail while the body pulls away from it.
        TearCounter += 1;
        int32_t s = TearCounter / FramesPerTearStage;
        if (s >= SnagStageCount) s = SnagStageCount - 1;  // never past the last stage's row
        const SnagStage& stage = SnagStages[s];
        int32_t bx = g - stage.pull;
        DrawSprite(g, SceneGhostY + 6, 12, 5, stage.clothX, 28, SceneSheet);
        if (stage.torn) DrawSprite(bx, SceneGhostY, 12, 12, 24, 34, SceneSheet);
        else DrawSprite(bx, SceneGhostY, 12, 12, 12, 24);
        DrawSprite(bx, SceneGhostY, 12, 12, stage.eyesX, EyesY);
        if (s == SnagStageCount - 1) GamePhase = PhaseSceneDone;
    }
    DrawLevelFruits();
    AnimCounter = (AnimCounter + 1) % 8;
    PresentFrame();
}

void PatchScene() {
    CopySurface(BackBuffer, BlackBackdrop);
    StartScene(ChaseGhostStartX);
    if (SceneDirection > 0) {
        // The ghost walks back without its cloth (x in third pixels); the player is gone.
        DrawSprite(SceneGhostX / 3, SceneGhostY, 17, 9, AnimCounter < 8 ? 0 : 17, 47, SceneSheet);
        ScenePlayerFrame = (ScenePlayerFrame + 1) % 18;
        SceneGhostX += 1;
        // A slower walk: each of the two frames shows for eight frames.
        AnimCounter = (AnimCounter + 1) % 16;
        if (SceneGhostX / 3 > 180 && SceneDirection > 0) GamePhase = PhaseSceneDone;
    } else {
        DrawSmallPlayer();
        DrawSprite(SceneGhostX, SceneGhostY, 12, 12, AnimCounter < 4 ? 0 : 12, 34, SceneSheet);
        DrawSprite(SceneGhostX, SceneGhostY, 12, 12, EyesLeftX, EyesY);
        StepSmallPlayer();
        GhostStartUp();
        AnimCounter = (AnimCounter + 1) % 8;
        if (SceneGhostX < PatchTurnBelowX) Turn(PatchTurnBelowX);  // ghost x in third pixels from now on
    }
    DrawLevelFruits();
    PresentFrame();
}

void ResetScenes() {
    SceneStarted = 0;
    SceneDirection = -1;
    TearCounter = 0;
}
