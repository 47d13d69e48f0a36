// The in-game frame: the phase machine (ready, playing, ghost eaten, level clear,
// intermission, game over), the world update in its fixed order, and the board's picture.
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/scenes.h"
#include "game/score.h"
#include "game/score_drawing.h"
#include "gfx/art.h"
#include "gfx/surface.h"
#include "platform/clock.h"
#include "sound/sound_system.h"

uint32_t FrameStartTick = 0;
uint8_t FrameStarted = 0;

namespace {

// Actors home, dots back on the board, READY! for `readyMs`.
void ReadyRound(uint32_t readyMs) {
    Player.state = PlayerReady;
    DotsEaten = 0;
    RestoreDots();
    PaintDots();
    GamePhase = PhaseReady;
    PhaseTimer = GetTickCount() + readyMs;
}

bool SceneFollows(int32_t level) {
    return level == 2 || level == 5 || level == 9 || level == 13 || level == 16 || level == 21;
}

// One frame of the bare maze flashing blue and white; the loops fall silent.
void LevelClearFrame() {
    SilenceLoops();
    CalmGhosts();
    CopySurface(BackBuffer, FlashCounter < 12 ? MazeBackdrop : FlashMaze);
    KeepBestScore();
    DrawScorePanel();
    DrawPlayer();
    DrawLives();
    DrawLevelFruits();
    FlashCounter = (FlashCounter + 1) % 24;
    PresentFrame();
}

void BeginPlay() {
    ResetGhosts();
    SetupLevel();
    StopFrightAndEyesLoops();
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
    DrawSprite(82, 95, 12, 2, 65, 60);                               // the house door
    if (GamePhase == PhasePlaying && Player.state == PlayerAlive) WorldUpdate(now);
    if (FlashCounter < 12) DrawEnergisers();
    if (GamePhase == PhasePlaying) FruitAppearanceRule(now);
    DrawFruitItems(now);
    AdvanceDeath(now);
    EndFrightIfNone();
    if (GamePhase != PhaseGhostEaten) DrawPlayer();
    if (Player.state == PlayerAlive || (Player.state == PlayerDying && Player.frame == 1) || GamePhase == PhaseReady ||
        GamePhase == PhaseGhostEaten)
        DrawGhosts();
    KeepBestScore();
    DrawScorePanel();
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
    return next > LastLevel ? 18 : next;
}

void GameFrame() {
    const uint32_t now = GetTickCount();
    const int32_t scoreBefore = Score;
    FrameStartTick = now;
    FrameStarted = 1;
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
            ResetScenes();
            AnimCounter = 0;
            Level = NextLevel(Level);
            StartRound();
            return;
        default: CommonFrame(now, scoreBefore); return;
    }
}

void StartNewGame() {
    StartLoopVoices(Sound);
    ResetGhosts();
    ResetPlayer();
    ResetGame();
    ReadyRound(4300);
    PlayGameSample(SampleStartTune);
}

void StartRound() {
    ResetGhosts();
    ResetPlayer();
    ReadyRound(2500);
}
