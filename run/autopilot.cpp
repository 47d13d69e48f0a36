// The built-in player. At every cell centre it weighs each open way out by a walk over
// the maze: the nearest dot, fruit or frightened ghost it can reach before any hunting
// ghost can, and how much room is left to run. It acts only through key events.
#include "run/autopilot.h"

#include <array>
#include <cstdint>

#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/win_types.h"

namespace {

constexpr int Cells = MazeColumns * MazeRows;
constexpr int Far = 1 << 20;
constexpr uint32_t MsPerCell = 140;  // about six player steps

struct Pilot {
    bool enabled = false;
    uint32_t rng = 1;
    bool returnDown = false;
    int32_t lastPhase = -1;
    int32_t waitPasses = 0;
    int heldKey = 0;
    int32_t decidedX = -100, decidedY = -100, decidedDir = 0;
    int32_t dotsSeen = -1;
    uint32_t lastMeal = 0;  // tick when the eaten count last changed
};
Pilot P;

uint32_t Next() {
    // xorshift32: the pilot's own numbers, the same run for the same seed.
    uint32_t x = P.rng;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    P.rng = x;
    return x;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
int Index(int c, int r) { return r * MazeColumns + c; }

bool PlayerOpen(int32_t cell) { return cell != Wall && cell != Door; }
bool GhostOpen(int32_t cell) { return cell != Wall; }

// The neighbour of a cell in a direction; the tunnel row wraps round. -1 outside.
int Step(int index, int32_t dir) {
    int c = index % MazeColumns, r = index / MazeColumns;
    switch (dir) {
        case Up: --r; break;
        case Down: ++r; break;
        case Left: --c; break;
        case Right: ++c; break;
        default: return -1;
    }
    if (c < 0) c = MazeColumns - 1;
    if (c >= MazeColumns) c = 0;
    if (r < 0 || r >= MazeRows) return -1;
    return Index(c, r);
}

constexpr int32_t Dirs[4] = {Up, Right, Down, Left};

int32_t Opposite(int32_t d) { return d == Up ? Down : d == Down ? Up : d == Left ? Right : d == Right ? Left : 0; }

bool Hunting(const GhostRecord& g, uint32_t now) {
    if (g.mode == Normal) return true;
    // A frightened ghost about to calm down counts as a hunter already.
    return g.mode == Frightened && (FrightActive == 0 || int32_t(FrightEnd - now) < 1200);
}

// Distance in cells from the nearest hunting ghost to every cell.
void GhostDistances(std::array<int, Cells>& dist, uint32_t now) {
    dist.fill(Far);
    std::array<int, Cells> queue{};
    int head = 0, tail = 0;
    for (const GhostRecord& g : Ghosts) {
        if (!Hunting(g, now)) continue;
        const int c0 = FloorDiv(g.x - 1, 6), r0 = FloorDiv(g.y - 16, 6);
        const int c1 = c0 + ((g.x - 1) - 6 * c0 != 0), r1 = r0 + ((g.y - 16) - 6 * r0 != 0);
        for (int c : {c0, c1})
            for (int r : {r0, r1}) {
                const int i = Index(Clamp(c, 0, MazeColumns - 1), Clamp(r, 0, MazeRows - 1));
                if (dist[i] == 0) continue;
                dist[i] = 0;
                queue[tail++] = i;
            }
    }
    while (head < tail) {
        const int i = queue[head++];
        for (int32_t d : Dirs) {
            const int j = Step(i, d);
            if (j < 0 || !GhostOpen(MazeGrid[j]) || dist[j] != Far) continue;
            dist[j] = dist[i] + 1;
            queue[tail++] = j;
        }
    }
}

// What reaching a cell at a depth is worth.
int Value(int i, int depth, uint32_t now, bool threatened, const std::array<int8_t, Cells>& frightenedAt) {
    int best = 0;
    const int32_t cell = MazeGrid[i];
    if (cell == Dot) best = 1000 - 10 * depth;
    if (cell == Energiser) best = threatened ? 3000 - 10 * depth : 300 - 10 * depth;
    const int c = i % MazeColumns, r = i / MazeColumns;
    const bool fruitSquare = r == 17 && (c == 13 || c == 14);
    if (fruitSquare && FruitUntil != 0 && int32_t(FruitUntil - now) > int32_t(depth * MsPerCell)) {
        const int v = 2500 - 10 * depth;
        if (v > best) best = v;
    }
    if (frightenedAt[i] && int32_t(FrightEnd - now) > int32_t(depth * MsPerCell * 2 + 600)) {
        const int v = 4000 - 10 * depth;
        if (v > best) best = v;
    }
    return best;
}

struct Walk {
    int best = 0;  // the most any reachable cell is worth
    int room = 0;  // cells reached
};

// A breadth-first walk that leaves the centre `here` through the cell `first`.
Walk WalkFrom(int here, int first, bool safeOnly, const std::array<int, Cells>& ghostDist, uint32_t now,
              bool threatened, const std::array<int8_t, Cells>& frightenedAt) {
    static std::array<int, Cells> depth;
    static std::array<int, Cells> queue;
    depth.fill(-1);
    depth[here] = 0;
    depth[first] = 1;
    Walk w;
    int head = 0, tail = 0;
    queue[tail++] = first;
    while (head < tail) {
        const int i = queue[head++];
        ++w.room;
        const int v = Value(i, depth[i], now, threatened, frightenedAt);
        if (v > w.best) w.best = v;
        for (int32_t nd : Dirs) {
            const int j = Step(i, nd);
            if (j < 0 || depth[j] >= 0 || !PlayerOpen(MazeGrid[j])) continue;
            depth[j] = depth[i] + 1;
            if (safeOnly && ghostDist[j] <= depth[j]) continue;
            queue[tail++] = j;
        }
    }
    return w;
}

}  // namespace

void EnableAutopilot(uint32_t seed) {
    P = Pilot{};
    P.enabled = true;
    P.rng = seed * 2654435761u + 0x9E3779B9u;
    if (P.rng == 0) P.rng = 1;
}

void DisableAutopilot() { P.enabled = false; }

bool AutopilotEnabled() { return P.enabled; }

int32_t AutopilotChoice() {
    const int32_t x = Player.x, y = Player.y;
    if (x < 7 || x > 157 || (x - 1) % 6 != 0 || (y - 16) % 6 != 0) return 0;
    const int c = (x - 1) / 6, r = (y - 16) / 6;
    if (c < 0 || c >= MazeColumns || r < 0 || r >= MazeRows) return 0;
    const uint32_t now = GetTickCount();
    const int here = Index(c, r);

    std::array<int, Cells> ghostDist;
    GhostDistances(ghostDist, now);
    std::array<int8_t, Cells> frightenedAt{};
    for (const GhostRecord& g : Ghosts) {
        if (g.mode != Frightened) continue;
        const int gc = Clamp(FloorDiv(g.x - 1 + 3, 6), 0, MazeColumns - 1);
        const int gr = Clamp(FloorDiv(g.y - 16 + 3, 6), 0, MazeRows - 1);
        frightenedAt[Index(gc, gr)] = 1;
    }
    const bool threatened = ghostDist[here] <= 8;
    if (DotsEaten != P.dotsSeen) {
        P.dotsSeen = DotsEaten;
        P.lastMeal = now;
    }
    // After a long while without a meal, small pockets are risked to break the stalemate.
    const bool hungry = now - P.lastMeal > 6000;

    int32_t bestDir = 0;
    int bestScore = 0;
    for (int32_t d : Dirs) {
        const int first = Step(here, d);
        if (first < 0 || !PlayerOpen(MazeGrid[first])) continue;
        int score = 0;
        // A step onto a hunter, or toward one close by, is the worst there is.
        if (ghostDist[first] == 0) score -= 100000;
        else if (ghostDist[first] <= 2 && ghostDist[first] < ghostDist[here]) score -= 50000;

        // First through the cells the player reaches before any hunter; when that finds
        // nothing worth having, through every cell, at a discount.
        const Walk safe = WalkFrom(here, first, true, ghostDist, now, threatened, frightenedAt);
        if (safe.best > 0) {
            score += 2000 + safe.best;
        } else {
            score += WalkFrom(here, first, false, ghostDist, now, threatened, frightenedAt).best / 4;
        }
        // Little room to run means a trap; a pocket of ten cells or more is worth entering.
        if (safe.room < 10 && !hungry) score -= (10 - safe.room) * 600;
        if (d == Opposite(Player.dir)) score -= 30;
        score += int(Next() % 20);
        if (bestDir == 0 || score > bestScore) {
            bestDir = d;
            bestScore = score;
        }
    }
    return bestDir;
}

namespace {

const int ArrowKeys[5] = {0, VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT};

void Hold(int key) {
    if (P.heldKey == key) return;
    if (P.heldKey != 0) KeyEvent(P.heldKey, false);
    if (key != 0) KeyEvent(key, true);
    P.heldKey = key;
}

void Steer() {
    const int32_t x = Player.x, y = Player.y;
    if (x != P.decidedX || y != P.decidedY) {
        P.decidedX = x;
        P.decidedY = y;
        // One choice per centre: a wish once pressed stays until honoured.
        P.decidedDir = AutopilotChoice();
    }
    const int32_t d = P.decidedDir;
    Hold(d != 0 && d != Player.dir ? ArrowKeys[d] : 0);
}

}  // namespace

void AutopilotPass() {
    if (!P.enabled) return;
    if (P.returnDown) {
        KeyEvent(VK_RETURN, false);
        P.returnDown = false;
    }
    const int32_t phase = GamePhase;
    if (phase != P.lastPhase) {
        P.lastPhase = phase;
        // A short, seed-dependent wait on the title and the game-over screen.
        if (phase == PhaseTitle) P.waitPasses = 20 + int32_t(Next() % 100);
        if (phase == PhaseGameOver) P.waitPasses = 60 + int32_t(Next() % 120);
    }
    if (Paused == 0 && phase == PhasePlaying && Player.state == PlayerAlive) {
        Steer();
        return;
    }
    Hold(0);
    P.decidedX = P.decidedY = -100;
    if (Paused == 0 && (phase == PhaseTitle || phase == PhaseGameOver)) {
        if (P.waitPasses > 0) {
            --P.waitPasses;
        } else {
            KeyEvent(VK_RETURN, true);
            P.returnDown = true;
            P.waitPasses = 1000;  // one press; the phase change re-arms the wait
        }
    }
}
