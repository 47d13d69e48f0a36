// The three intermission scenes: the chase and its reversal, the ghost snagged on a nail
// and torn, and the patched ghost walking back without its cloth. Each call draws and
// advances one frame; the figures move by fixed steps per frame, not by the clock.
#include "gfx/scenes.h"

#include "app/entry.h"
#include "app/game_frame.h"
#include "game/ghosts.h"
#include "game/score.h"
#include "gfx/art.h"
#include "gfx/surface.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

int32_t SceneDirection;
int32_t SceneStarted;
int32_t TearCounter;
int32_t ScenePlayerX, ScenePlayerY;
int32_t ScenePlayerFrame;
// The scene ghost borrows the red ghost's record: the next level's set-up overwrites it.
int32_t& SceneGhostX = Ghosts[0].x;
int32_t& SceneGhostY = Ghosts[0].y;

const SnagStage SnagStages[SnagStageCount] = {
    {0, false, 12, 1},  {12, false, 12, 2}, {24, false, 36, 4}, {36, false, 36, 6},  {48, false, 36, 8},
    {60, true, 12, 10}, {72, true, 36, 12}, {72, true, 36, 12}, {72, true, 24, 12}, {72, true, 24, 12},
};

namespace {

constexpr int32_t FigureY = 104;           // every figure runs along this row
constexpr int32_t SmallPlayerStartX = 354;      // half pixels: x 177, just off the right edge
constexpr int32_t ChaseGhostStartX = 180;  // pixels, off the right edge
constexpr int32_t SnagGhostStartX = 384;   // half pixels: x 192
constexpr int32_t StartUpBelowX = 225;     // the ghost sets off once the player is left of x 112.5
constexpr int32_t ChaseTurnBelowX = -20;
constexpr int32_t PatchTurnBelowX = -50;
constexpr int32_t GiantStartX = -30;
constexpr int32_t SnagFromX = 78;          // below this the ghost's right edge has reached the nail
constexpr int32_t NailX = 88, NailY = 113;
constexpr int32_t FramesPerTearStage = 60;

// Small player's mouth cells (x in the sprite sheet, y 0), one per three frames.
constexpr int32_t SmallPlayerCells[5] = {60, 48, 36, 48, 60};
// Giant player's cells (x in the scene sheet, y 1), one per three frames.
constexpr int32_t GiantPlayerCells[6] = {1, 23, 45, 67, 45, 23};

constexpr int32_t EyesLeftX = 12, EyesY = 48;

void Sprite(int32_t x, int32_t y, int32_t w, int32_t h, const Image* sheet, int32_t sx, int32_t sy) {
    BlitKeyed(BackBuffer, x, y, w, h, sheet, KeyColour, sx, sy);
}

void StartTune() {
    Mixer.PlaySample(GameSamples[SampleIntermission]);
}

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
    Sprite(ScenePlayerX / 2, ScenePlayerY, 12, 12, SpriteSheet, SmallPlayerCells[f], 0);
}

// The small player runs left half a pixel per frame, its mouth on a 15-frame cycle.
void StepSmallPlayer() {
    ScenePlayerFrame = (ScenePlayerFrame + 1) % 15;
    ScenePlayerX -= 1;
}

void DrawChasingGhost(int32_t x, int32_t y) {
    Sprite(x, y, 12, 12, SpriteSheet, AnimCounter < 4 ? 0 : 12, 24);
    Sprite(x, y, 12, 12, SpriteSheet, EyesLeftX, EyesY);
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
        Sprite(ScenePlayerX, ScenePlayerY - 12, 20, 20, SceneSheet, GiantPlayerCells[f], 1);
        int32_t gx = SceneGhostX / 2;
        Sprite(gx, SceneGhostY, 12, 12, SpriteSheet, AnimCounter < 4 ? 0 : 12, 36);
        Sprite(gx, SceneGhostY, 12, 12, SpriteSheet, 48, 48);
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
        Sprite(g, SceneGhostY + 6, 12, 5, SceneSheet, stage.clothX, 28);
        if (stage.torn)
            Sprite(bx, SceneGhostY, 12, 12, SceneSheet, 24, 34);
        else
            Sprite(bx, SceneGhostY, 12, 12, SpriteSheet, 12, 24);
        Sprite(bx, SceneGhostY, 12, 12, SpriteSheet, stage.eyesX, EyesY);
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
        Sprite(SceneGhostX / 3, SceneGhostY, 17, 9, SceneSheet, AnimCounter < 8 ? 0 : 17, 47);
        ScenePlayerFrame = (ScenePlayerFrame + 1) % 18;
        SceneGhostX += 1;
        // A slower walk: each of the two frames shows for eight frames.
        AnimCounter = (AnimCounter + 1) % 16;
        if (SceneGhostX / 3 > 180 && SceneDirection > 0) GamePhase = PhaseSceneDone;
    } else {
        DrawSmallPlayer();
        Sprite(SceneGhostX, SceneGhostY, 12, 12, SceneSheet, AnimCounter < 4 ? 0 : 12, 34);
        Sprite(SceneGhostX, SceneGhostY, 12, 12, SpriteSheet, EyesLeftX, EyesY);
        StepSmallPlayer();
        GhostStartUp();
        AnimCounter = (AnimCounter + 1) % 8;
        if (SceneGhostX < PatchTurnBelowX) Turn(PatchTurnBelowX);  // ghost x in third pixels from now on
    }
    DrawLevelFruits();
    PresentFrame();
}
