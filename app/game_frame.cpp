// The in-game frame: the phase machine (ready, playing, ghost eaten, level clear,
// intermission, game over), the world update in its fixed order, and the board's picture.
#include "app/game_frame.h"
#include "app/settings.h"
#include "app/window_proc.h"
#include "app/entry.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "gfx/art.h"
#include "gfx/scenes.h"
#include "gfx/surface.h"
#include "platform/clock.h"

int32_t GamePhase = PhaseTitle;
uint32_t PhaseTimer = 0;
uint32_t LevelClearEnd = 0;
int32_t AnimCounter = 0;
int32_t FlashCounter = 0;
int32_t SceneIndex = 0;
int32_t ChompOn = 0;
int32_t FrightLoopOn = 0;
int32_t EyesLoopOn = 0;

namespace {

void DrawSprite(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy) {
    BlitKeyed(BackBuffer, x, y, w, h, SpriteSheet, KeyColour, sx, sy);
}

void DrawLabels() {
    DrawSprite(91, 3, 65, 6, 0, 60);  // HIGH SCORE
    DrawSprite(20, 3, 20, 6, 60, 66);  // 1UP
}

void DrawScores() {
    if (Score > HiScore) HiScore = Score;
    DrawNumber(Score, 10, 12);
    DrawNumber(HiScore, 90, 12);
}

bool SceneFollows(int32_t level) {
    return level == 2 || level == 5 || level == 9 || level == 13 || level == 16 || level == 21;
}

// One frame of the bare maze flashing blue and white; the loops fall silent.
void LevelClearFrame() {
    ChompOn = FrightLoopOn = EyesLoopOn = 0;
    PauseVoice(EyesVoice);
    PauseVoice(FrightVoice);
    PauseVoice(ChompVoice);
    StopSirens();
    CalmGhosts();
    CopySurface(BackBuffer, FlashCounter < 12 ? MazeBackdrop : FlashMaze);
    DrawLabels();
    DrawScores();
    DrawPlayer();
    DrawLives();
    DrawLevelFruits();
    FlashCounter = (FlashCounter + 1) % 24;
    PresentFrame();
}

void BeginPlay() {
    ResetGhosts();
    SetupLevel();
    FrightLoopOn = EyesLoopOn = 0;
    PauseVoice(EyesVoice);
    PauseVoice(FrightVoice);
    StartSiren();
    CalmGhosts();
    Player.state = PlayerAlive;
    FruitUntil = 0;
    GamePhase = PhasePlaying;
}

// The death animation is over: one life goes, then the board is reset or the game ends.
void TakeLife() {
    // Once the game is over the player stays lost, and no further life is taken.
    if (GamePhase == PhaseGameOver) return;
    Player.lives -= 1;
    Player.deathSoundDone = 0;
    if (Player.lives > 0) {
        ResetGhosts();
        ResetPlayer();
        Player.state = PlayerReady;
        GamePhase = PhaseReady;
        PhaseTimer = GetTickCount() + 2500;
        FruitUntil = 0;
    } else {
        GamePhase = PhaseGameOver;
    }
}

void WorldUpdate(uint32_t now) {
    SelectLoopSound(now);
    StepPlayer(now);
    UpdateGhosts(now);
    ScatterRule(now);
    FrightEndRule(now);
    BlinkRule(now);
    CheckCollisions();
    // The last dot and a frightened ghost in one frame: the cleared level wins, so it
    // always ends (the ghost's points are kept, its freeze is dropped).
    if (GamePhase == PhaseGhostEaten && DotsEaten == EdibleCells) GamePhase = PhaseLevelClear;
}

void CommonFrame(uint32_t now, int32_t scoreBefore) {
    if (GamePhase == PhasePlaying) PollPlayerKeys();
    if (GamePhase == PhaseReady && TickReached(now, PhaseTimer)) {
        BeginPlay();
    } else if (GamePhase == PhaseGhostEaten && TickReached(now, PhaseTimer)) {
        GamePhase = PhasePlaying;
    }
    CopySurface(BackBuffer, MazeCanvas);
    if (Player.state == PlayerLost) TakeLife();
    if (GamePhase == PhaseReady) DrawSprite(68, 121, 40, 6, 0, 78);  // READY!
    DrawSprite(82, 95, 12, 2, 65, 60);                                // the house door
    DrawLabels();
    if (GamePhase == PhasePlaying && Player.state == PlayerAlive) WorldUpdate(now);
    if (FlashCounter < 12) DrawEnergisers();
    if (GamePhase == PhasePlaying) FruitAppearanceRule(now);
    DrawFruitItems(now);
    AdvanceDeath(now);
    EndFrightIfNone();
    if (GamePhase != PhaseGhostEaten) DrawPlayer();
    if (Player.state == PlayerAlive || (Player.state == PlayerDying && Player.frame == 1) ||
        GamePhase == PhaseReady || GamePhase == PhaseGhostEaten)
        DrawGhosts();
    DrawScores();
    ExtraLifeRule(scoreBefore);
    DrawLives();
    DrawLevelFruits();
    GhostPointsRule(now);
    if (GamePhase == PhaseGameOver) DrawSprite(56, 122, 65, 6, 0, 72);  // GAME OVER
    AnimCounter = (AnimCounter + 1) % 8;
    FlashCounter = (FlashCounter + 1) % 24;
    PresentFrame();
}

}  // namespace

int32_t NextLevel(int32_t level) {
    const int32_t next = level + 1;
    return next > 21 ? 18 : next;
}

void GameFrame() {
    const uint32_t now = GetTickCount();
    const int32_t scoreBefore = Score;
    FrameStartTick = now;
    switch (GamePhase) {
        case PhaseLevelClear:
            if (TickReached(now, LevelClearEnd)) {
                if (SceneFollows(Level)) {
                    GamePhase = PhaseIntermission;  // nothing is drawn in this frame
                } else {
                    Level = NextLevel(Level);
                    StartRound();
                }
                return;
            }
            LevelClearFrame();
            return;
        case PhaseIntermission:
            if (SceneIndex == 1) SnagScene();
            else if (SceneIndex == 2) PatchScene();
            else ChaseScene();
            return;
        case PhaseSceneDone:
            SceneIndex = (SceneIndex + 1) % 3;
            SceneStarted = 0;
            SceneDirection = -1;
            TearCounter = 0;
            AnimCounter = 0;
            Level = NextLevel(Level);
            StartRound();
            return;
        default:
            CommonFrame(now, scoreBefore);
            return;
    }
}

void StartRound() {
    ResetGhosts();
    ResetPlayer();
    Player.state = PlayerReady;
    DotsEaten = 0;
    RestoreDots();
    PaintDots();
    GamePhase = PhaseReady;
    PhaseTimer = GetTickCount() + 2500;
}
