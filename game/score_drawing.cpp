// What the score draws: the panel at the top (labels, score, best score), the numbers and
// digits, the fruit where it stands and the row of the level's fruit at the bottom, and
// the points a fruit or a ghost is worth while they show.
#include "game/score_drawing.h"

#include "game/ghosts.h"
#include "game/phase.h"
#include "game/score.h"
#include "gfx/art.h"

void DrawFruitItems(uint32_t now) {
    if (DisplayPending(now, FruitUntil)) DrawFruit(FruitKindForLevel(Level), FruitX, FruitY);
    if (DisplayPending(now, FruitPointsUntil)) DrawFruitPoints();
}

void GhostPointsRule(uint32_t now) {
    if (!(DisplayPending(now, GhostPointsUntil) && GhostsEaten >= 1 && GamePhase == PhaseGhostEaten)) return;
    const int32_t x = GhostPointsX, y = GhostPointsY + 3;
    switch (GhostsEaten) {
        case 1: DrawSprite(x, y, 11, 6, 85, 51); break;      // 200
        case 2: DrawSprite(x, y, 11, 6, 85, 60); break;      // 400
        case 3: DrawSprite(x, y, 11, 6, 85, 69); break;      // 800
        case 4: DrawSprite(x - 1, y, 13, 6, 83, 78); break;  // 1600
        default: break;
    }
}

void DrawScorePanel() {
    DrawBestScore();
    DrawSprite(20, 3, 20, 6, 60, 66);  // 1UP
    DrawNumber(Score, 10, 12);
}

void DrawBestScore() {
    DrawSprite(91, 3, 65, 6, 0, 60);  // HIGH SCORE
    DrawNumber(HiScore, 90, 12);
}

void DrawNumber(int32_t value, int32_t x, int32_t y) {
    // Eight slots, right-aligned; a value that cannot be a score shows as 0.
    uint32_t v = value < 0 ? 0 : static_cast<uint32_t>(value);
    for (int slot = 7; slot >= 0; --slot) {
        DrawDigit(static_cast<int32_t>(v % 10), x + 7 * slot, y);
        v /= 10;
        if (v == 0) break;
    }
}

void DrawDigit(int32_t d, int32_t x, int32_t y) {
    if (d < 0 || d > 9) return;
    DrawSprite(x, y, 6, 6, 6 * d, 66);
}

void DrawTinyDigit(int32_t d, int32_t x, int32_t y) {
    if (d < 0 || d > 9) return;
    DrawSprite(x, y, 3, 6, 40 + 3 * d, 78);
}

void DrawFruit(int32_t kind, int32_t x, int32_t y) {
    if (kind < 1 || kind > 8) return;
    DrawSprite(x, y, 12, 12, 12 * (kind - 1), 84);
}

void DrawFruitPoints() {
    const int32_t kind = FruitKindForLevel(Level);
    if (kind < 1 || kind > 8) return;
    const int32_t points = FruitPoints[kind];
    constexpr int32_t y = 121;
    if (kind <= 4) {
        DrawTinyDigit(points / 100, 82, y);
        DrawTinyDigit(0, 86, y);
        DrawTinyDigit(0, 90, y);
    } else {
        DrawTinyDigit(points / 1000, 80, y);
        DrawTinyDigit(0, 84, y);
        DrawTinyDigit(0, 88, y);
        DrawTinyDigit(0, 92, y);
    }
}

void DrawLevelFruits() {
    const int64_t first = Level - int64_t{5} > 1 ? Level - int64_t{5} : 1;
    for (int64_t k = first; k <= Level; ++k)
        DrawFruit(FruitKindForLevel(static_cast<int32_t>(k)), static_cast<int32_t>(155 - 12 * (k - first)), 206);
}
