// The four ghosts: their records, the house and its release times, the greedy steering
// made at every cell centre, the scatter, fright and blink rules, the eyes running home,
// the loop sounds that follow their modes, and their sprites.
#include "game/ghosts.h"

#include "game/game_sounds.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "gfx/art.h"
#include "platform/clock.h"

// Ticks are compared by their difference, so the game plays on when the 32-bit tick
// count wraps round (TickAfter, TickReached).
GhostRecord Ghosts[4];
uint8_t FrightActive;
uint32_t FrightEnd;
int32_t FrightDuration;
int32_t GhostsEaten;
uint32_t BlinkTick;
int32_t BlinkPhase;
uint32_t ScatterTimer;

namespace {

struct GhostStart {
    int32_t x, y, dir, targetX, targetY, homeX, homeY, extraDelay;
    uint8_t inHouse;
    uint32_t releaseAfter;
};

constexpr GhostStart Starts[4] = {
    {82, 82, Left, 37, 93, 157, 22, 1, 0, 1},
    {70, 100, Down, 70, 103, 157, 190, 3, 1, 6000},
    {82, 100, Up, 82, 97, 7, 22, 0, 1, 4600},
    {94, 100, Down, 94, 103, 7, 190, 2, 1, 10000},
};

constexpr int32_t ExitX = 82, ExitY = 82;       // just above the door
constexpr int32_t ReviveX = 82, ReviveY = 102;  // inside the house, below the door
constexpr int32_t WaypointX = 37, WaypointY = 93;
constexpr int32_t TunnelY = 100;

bool Open(int32_t cell) { return cell != Wall; }

int32_t Reverse(int32_t dir) {
    switch (dir) {
        case Up: return Down;
        case Down: return Up;
        case Left: return Right;
        case Right: return Left;
        default: return dir;
    }
}

int32_t Abs(int32_t v) { return v < 0 ? -v : v; }

bool AnyGhostIs(int32_t mode) {
    for (const GhostRecord& g : Ghosts)
        if (g.mode == mode) return true;
    return false;
}

// The greedy choice at a cell centre; the first rule that applies wins, else dir stays.
int32_t Steer(const GhostRecord& gh, const Neighbours& n, int32_t dx, int32_t dy) {
    const int32_t x = gh.x, y = gh.y, tx = gh.targetX, ty = gh.targetY, dir = gh.dir;
    if (dx > dy) {
        if (tx < x && Open(n.left) && dir != Right) return Left;
        if (tx > x && Open(n.right) && dir != Left) return Right;
        if (ty < y && Open(n.up) && dir != Down) return Up;
        if (ty > y && Open(n.down) && n.down != Door && dir != Up) return Down;
        if (Open(n.down) && dir != Up) return Down;
        if (Open(n.up)) return Up;
        if (Open(n.down)) return Down;
    } else {
        if (ty < y && Open(n.up) && dir != Down) return Up;
        if (ty > y && Open(n.down) && n.down != Door && dir != Up) return Down;
        if (tx < x && Open(n.left) && dir != Right) return Left;
        if (tx > x && Open(n.right) && dir != Left) return Right;
        if (Open(n.left) && dir != Right) return Left;
        if (Open(n.right) && dir != Left) return Right;
        if (Open(n.left)) return Left;
        if (Open(n.right)) return Right;
    }
    return dir;
}

// What a ghost does on reaching its target (the position before this step's move).
void Arrive(int g, GhostRecord& gh) {
    if (g == 1 && gh.x == gh.homeX && gh.y == gh.homeY && gh.chasing == 0) gh.chasing = 1;
    if (gh.x == WaypointX && gh.y == WaypointY) {
        gh.targetX = gh.homeX;
        gh.targetY = gh.homeY;
    }
    if (gh.x == ExitX && gh.y == ExitY && gh.inHouse == 0 && gh.chasing == 0) {
        if (g == 1 || g == 3) {
            gh.targetX = WaypointX;
            gh.targetY = WaypointY;
            gh.dir = Left;
        } else {
            gh.targetX = gh.homeX;
            gh.targetY = gh.homeY;
            gh.dir = gh.homeX > ExitX ? Right : Left;
        }
    } else if ((gh.mode == Normal || gh.mode == Frightened) && g != 1 && gh.inHouse == 0) {
        // The next waypoint is the centre of the player's cell as it is now.
        gh.targetX = 6 * ((Player.x - 1) / 6) + 1;
        gh.targetY = 6 * ((Player.y - 22) / 6) + 22;
    } else if (gh.inHouse == 1) {
        // Waiting ghosts bob between y 97 and 103.
        if (gh.y == 97) {
            gh.targetY = 103;
            gh.dir = Down;
        } else if (gh.y == 103) {
            gh.targetY = 97;
            gh.dir = Up;
        }
    }
}

uint32_t StepDelay(const GhostRecord& gh) {
    int32_t delay;
    if (gh.mode == Eyes) delay = 3;
    else if (gh.mode == Frightened) delay = StepInterval <= 10 ? StepInterval + 10 : 3 * StepInterval;
    else delay = 20 * gh.inTunnel + gh.extraDelay + StepInterval;
    return static_cast<uint32_t>(delay);
}

}  // namespace

void ResetGhosts() {
    const uint32_t now = GetTickCount();
    for (int i = 0; i < 4; ++i) {
        const GhostStart& s = Starts[i];
        GhostRecord& gh = Ghosts[i];
        gh.x = s.x;
        gh.y = s.y;
        gh.mode = Normal;
        gh.dir = s.dir;
        gh.targetX = s.targetX;
        gh.targetY = s.targetY;
        gh.homeX = s.homeX;
        gh.homeY = s.homeY;
        gh.extraDelay = s.extraDelay;
        gh.chasing = 0;
        gh.inHouse = s.inHouse;
        gh.inTunnel = 0;
        gh.nextStep = now + s.releaseAfter;
    }
}

void PlaceTitleGhosts() {
    constexpr int32_t rows[4] = {45, 89, 67, 112};
    for (int i = 0; i < 4; ++i) {
        Ghosts[i].x = 18;
        Ghosts[i].y = rows[i];
        Ghosts[i].mode = Normal;
        Ghosts[i].dir = Right;
    }
}

void UpdateGhosts(uint32_t now) {
    for (int g = 1; g <= 4; ++g) {
        GhostRecord& gh = Ghosts[g - 1];
        if (!TickAfter(now, gh.nextStep) && !(gh.inHouse == 1 && AnimCounter == 7)) continue;
        if (TickAfter(now, gh.nextStep) && gh.inHouse == 1) {
            gh.inHouse = 0;
            gh.targetX = ExitX;
            gh.targetY = ExitY;
            gh.dir = gh.x < ExitX ? Right : gh.x > ExitX ? Left : Up;
        }
        if (gh.mode == Eyes && gh.x == ReviveX && gh.y == ReviveY) {
            gh.dir = Up;
            gh.mode = Normal;
            if (!AnyGhostIs(Eyes)) {
                StopFrightAndEyesLoops();
                StartSiren();
            }
        } else {
            StepGhost(g);
            if (gh.inHouse == 0) {
                gh.inTunnel = (gh.y == TunnelY && (gh.x < 25 || gh.x > 139)) ? 1 : 0;
                gh.nextStep = GetTickCount() + StepDelay(gh);
            }
        }
        if (g == 1 && gh.mode == Normal && gh.inHouse == 0 && gh.chasing == 1) {
            gh.targetX = Player.x;
            gh.targetY = Player.y;
        }
    }
}

void StepGhost(int g) {
    GhostRecord& gh = Ghosts[g - 1];
    const int32_t dx = Abs(gh.x - gh.targetX);
    const int32_t dy = Abs(gh.y - gh.targetY);
    const Neighbours n = QueryNeighbours(gh.x, gh.y);

    bool doorColumn = false;
    if (gh.x == ExitX) {
        if (gh.y > ExitY && gh.y < 104 && gh.mode != Eyes && gh.inHouse == 0) {
            // Out of the house by the door column, always straight up.
            gh.dir = Up;
            gh.targetY = ExitY;
            if (g == 1) gh.chasing = 1;
            doorColumn = true;
        } else if (gh.y == ExitY && gh.mode == Eyes) {
            // The eyes drop through the door.
            gh.dir = Down;
            gh.targetX = ReviveX;
            gh.targetY = ReviveY;
            doorColumn = true;
        }
    }

    if (!doorColumn) {
        // No turns in the outer parts of the tunnel row.
        const bool noTurnZone = gh.y == TunnelY && (gh.x < 37 || gh.x > 127);
        if (n.atCentre == 1 && !noTurnZone) gh.dir = Steer(gh, n, dx, dy);
        if (gh.mode == Eyes) {
            gh.targetX = ExitX;
            gh.targetY = gh.x == ExitX ? ReviveY : ExitY;
        }
    }

    if (gh.x == gh.targetX && gh.y == gh.targetY) Arrive(g, gh);

    switch (gh.dir) {
        case Up:
            if (Open(n.up)) gh.y -= 1;
            break;
        case Right:
            if (Open(n.right)) gh.x += 1;
            break;
        case Down:
            if (Open(n.down)) gh.y += 1;
            break;
        case Left:
            if (Open(n.left)) gh.x -= 1;
            break;
        default: break;
    }
    if (gh.x < -11) gh.x = 175;
    if (gh.x > 175) gh.x = -11;
}

void ScatterRule(uint32_t now) {
    if (TickAfter(now, ScatterTimer)) {
        ScatterTimer = GetTickCount() + 25000;
        ScatterGhosts();
    }
}

void FrightEndRule(uint32_t now) {
    if (TickAfter(now, FrightEnd) && FrightActive == 1) CalmGhosts();
}

void BlinkRule(uint32_t now) {
    if (FrightActive == 1 && TickAfter(now, BlinkTick)) {
        BlinkPhase = 1 - BlinkPhase;
        BlinkTick += 300;  // from the old deadline, so the rhythm never drifts
    }
}

void ScatterGhosts() {
    for (GhostRecord& gh : Ghosts) {
        if (gh.inHouse == 0 && gh.mode == Normal && gh.targetX != ExitX) {
            gh.targetX = gh.homeX;
            gh.targetY = gh.homeY;
            gh.chasing = 0;
        }
    }
}

void FleeGhosts() {
    const int32_t px = Player.x, py = Player.y;
    const bool right = px > 82;
    const bool lower = py > 110;
    // The ghost whose corner lies in the player's quarter runs to the opposite corner.
    int fleeing;  // ghost number
    int opposite;
    if (right && lower) {
        fleeing = 2;
        opposite = 3;
    } else if (right) {
        fleeing = 1;
        opposite = 4;
    } else if (lower) {
        fleeing = 4;
        opposite = 1;
    } else {
        fleeing = 3;
        opposite = 2;
    }
    for (int g = 1; g <= 4; ++g) {
        GhostRecord& gh = Ghosts[g - 1];
        if (gh.inHouse != 0 || gh.mode != Normal || gh.targetX == ExitX) continue;
        gh.chasing = 0;
        const GhostRecord& corner = g == fleeing ? Ghosts[opposite - 1] : gh;
        gh.targetX = corner.homeX;
        gh.targetY = corner.homeY;
        gh.dir = Reverse(gh.dir);
    }
}

void FrightenGhosts() {
    const uint32_t now = GetTickCount();
    GhostsEaten = 0;
    for (GhostRecord& gh : Ghosts)
        if (gh.mode == Normal) gh.mode = Frightened;
    FrightActive = 1;
    BlinkPhase = 0;
    BlinkTick = now + static_cast<uint32_t>(FrightDuration) - 3000;
    FrightEnd = now + static_cast<uint32_t>(FrightDuration);
}

void CalmGhosts() {
    const int32_t px = Player.x, py = Player.y;
    for (int g = 1; g <= 4; ++g) {
        GhostRecord& gh = Ghosts[g - 1];
        if (gh.mode != Frightened) continue;
        if (gh.inHouse == 0 && gh.targetX != ExitX) {
            gh.targetX = px;
            gh.targetY = py;
            // A ghost moving away from the player turns round.
            if (gh.dir == Up && py >= gh.y) gh.dir = Down;
            else if (gh.dir == Right && px <= gh.x) gh.dir = Left;
            else if (gh.dir == Down && py <= gh.y) gh.dir = Up;
            else if (gh.dir == Left && px >= gh.x) gh.dir = Right;
        }
        gh.mode = Normal;
        if (g == 1) gh.chasing = 1;
    }
    FrightActive = 0;
    GhostsEaten = 0;
    if (FrightLoopOn == 1) {
        PauseVoice(FrightVoice);
        if (EyesLoopOn != 1) StartSiren();
        FrightLoopOn = 0;
    }
}

void EndFrightIfNone() {
    if (!AnyGhostIs(Frightened)) FrightActive = 0;
}

void SelectLoopSound(uint32_t now) {
    if (AnyGhostIs(Eyes)) {
        if (EyesLoopOn == 0) ResumeVoice(EyesVoice);
        PauseVoice(FrightVoice);
        StopSirens();
        FrightLoopOn = 0;
        EyesLoopOn = 1;
    } else if (FrightActive == 1 && !TickReached(now, FrightEnd)) {
        PauseVoice(EyesVoice);
        if (FrightLoopOn == 0) ResumeVoice(FrightVoice);
        StopSirens();
        FrightLoopOn = 1;
        EyesLoopOn = 0;
    }
}

void DrawGhosts() {
    const int32_t half = AnimCounter < 4 ? 0 : 12;
    for (int g = 1; g <= 4; ++g) {
        const GhostRecord& gh = Ghosts[g - 1];
        if (gh.mode == Frightened) {
            const int32_t look = BlinkPhase == 1 ? 24 : 0;
            DrawSprite(gh.x, gh.y, 12, 12, look + half, 36);
            DrawSprite(gh.x, gh.y, 12, 12, BlinkPhase == 1 ? 60 : 48, 48);
            continue;
        }
        if (gh.mode == Normal) DrawSprite(gh.x, gh.y, 12, 12, 24 * (g - 1) + half, 24);
        int32_t eyes = -1;
        switch (gh.dir) {
            case Up: eyes = 24; break;
            case Right: eyes = 36; break;
            case Down: eyes = 0; break;
            case Left: eyes = 12; break;
            default: break;
        }
        if (eyes >= 0) DrawSprite(gh.x, gh.y, 12, 12, eyes, 48);
    }
}
