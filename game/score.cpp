// Score, fruit, lives and levels: the per-level speeds and times, the collision test
// with its own tick, the ghost chain, the bonus fruit, the extra life and the score wrap.
// The rules only: what the score draws is in score_drawing.cpp.
#include "game/score.h"

#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/scenes.h"
#include "platform/clock.h"

int32_t Score;
int32_t HiScore = 0;
int32_t Level;
int32_t FruitCount;
int32_t FruitShown;
uint32_t FruitUntil;
uint32_t FruitPointsUntil;
uint32_t GhostPointsUntil;
int32_t FruitDuration;
int32_t GhostPointsX, GhostPointsY;

const int32_t FruitKindByLevel[28] = {0, 1, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8,
                                      8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};
const int32_t FruitPoints[9] = {0, 100, 200, 500, 700, 1000, 2000, 3000, 5000};

namespace {

constexpr LevelRow LevelRows[] = {
    {17, 10000, 15000},  // level 1
    {14, 8000, 15000},  {13, 7000, 12000}, {12, 5000, 14000}, {11, 7000, 10000},
    {10, 5000, 12000},  {9, 7000, 8000},   {8, 5000, 10000},  {6, 7000, 6000},
    {4, 5000, 8000},    {1, 7000, 4000},   {1, 5000, 6000},   {1, 1500, 3000},  // levels 13, 14, 15
    {1, 1500, 3000},    {1, 1500, 3000},
};
constexpr LevelRow LastRow = {1, -3000, 3000};  // level 16 and every other value

constexpr int32_t ExtraLifeScore = 10000;

}  // namespace

bool DisplayPending(uint32_t now, uint32_t until) { return until != 0 && !TickReached(now, until); }

LevelRow LevelSettings(int32_t level) {
    if (level >= 1 && level <= 15) return LevelRows[level - 1];
    return LastRow;
}

int32_t FruitKindForLevel(int32_t level) {
    // A level beyond the table (only reachable by setting it by hand) keeps the key.
    if (level < 0) return 0;
    if (level > 27) return FruitKindByLevel[27];
    return FruitKindByLevel[level];
}

int32_t FruitPointsForKind(int32_t kind) { return kind >= 0 && kind <= 8 ? FruitPoints[kind] : 0; }

uint32_t ShiftDisplayDeadline(uint32_t deadline, uint32_t shift) {
    if (deadline == 0) return 0;
    const uint32_t moved = deadline + shift;
    return moved == 0 ? 1 : moved;
}

void ResetGame() {
    Level = 1;
    Score = 0;
    DotsEaten = 0;
    Player.lives = 3;
    SceneIndex = 0;
    ResetScenes();
    ResetTimers();
}

void ResetTimers() {
    const uint32_t passed = GetTickCount() - 100;
    FrightEnd = passed;
    PhaseTimer = passed;
    LevelClearEnd = passed;
    FruitUntil = passed;
    FruitPointsUntil = passed;
}

void SetupLevel() {
    const LevelRow row = LevelSettings(Level);
    StepInterval = row.stepInterval;
    FrightDuration = row.frightDuration;
    FruitDuration = row.fruitDuration;
    FruitCount = 0;
    FruitShown = 0;
    FruitUntil = 0;
    FrightEnd = GetTickCount() - 100;
    FrightActive = 0;
    ResetTimers();
}

void CheckCollisions() {
    const uint32_t now = GetTickCount();
    const int32_t px = Player.x, py = Player.y;
    for (GhostRecord& gh : Ghosts) {
        if (gh.mode != Normal && gh.mode != Frightened) continue;
        const int32_t ddx = px - gh.x, ddy = py - gh.y;
        if (ddx * ddx >= 5 || ddy * ddy >= 5) continue;
        if (gh.mode == Frightened && !TickReached(now, FrightEnd)) {
            ScoreGhost();
            gh.targetX = 82;
            gh.targetY = 82;
            gh.mode = Eyes;
            GamePhase = PhaseGhostEaten;
            PhaseTimer = GetTickCount() + 500;
            FrightEnd += 500;  // the freeze does not eat into the frightened time
            StopFrightAndEyesLoops();
            PlayGameSample(SampleGhostEaten);
        } else {
            CalmGhosts();
            SilenceLoops();
            Player.state = PlayerDying;
            Player.frame = 1;
            Player.nextStep = now + 1500;
        }
    }
    if (DisplayPending(now, FruitUntil)) {
        FruitShown = 1;
        if (px == FruitX && py == FruitY) {
            FruitUntil = 0;
            FruitShown = 0;
            Score += FruitPointsForKind(FruitKindForLevel(Level));
            FruitPointsUntil = GetTickCount() + 2000;
            PlayGameSample(SampleFruit);
        }
    }
}

void ScoreGhost() {
    GhostsEaten += 1;
    GhostPointsUntil = GetTickCount() + 2000;
    GhostPointsX = Player.x;
    GhostPointsY = Player.y;
    switch (GhostsEaten) {
        case 1: Score += 200; break;
        case 2: Score += 400; break;
        case 3: Score += 800; break;
        case 4: Score += 1600; break;
        default: break;
    }
}

void FruitAppearanceRule(uint32_t now) {
    if (FruitShown == 1 && (FruitUntil == 0 || TickAfter(now, FruitUntil))) {
        FruitShown = 0;
        FruitUntil = 0;
    }
    if (FruitShown == 0 && ((DotsEaten == 76 && FruitCount == 0) || (DotsEaten == 160 && FruitCount == 1))) {
        FruitCount += 1;
        FruitShown = 1;
        FruitUntil = GetTickCount() + static_cast<uint32_t>(FruitDuration);
    }
}

void ExtraLifeRule(int32_t scoreBefore) {
    if (scoreBefore < ExtraLifeScore && Score >= ExtraLifeScore) {
        Player.lives += 1;
        PlayGameSample(SampleExtraLife);
    }
    if (Score >= ScoreWrap) Score -= ScoreWrap;
    if (Player.lives > MaxLives) Player.lives = MaxLives;
}

void KeepBestScore() {
    if (Score > HiScore) HiScore = Score;
}
