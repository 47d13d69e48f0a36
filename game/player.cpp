// The player: keypad wishes, one pixel per step, eating at cell centres with the
// chomp loop, the speed-ups, the level clear, the death animation and the lives row.
#include "game/player.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/score.h"
#include "gfx/art.h"
#include "platform/clock.h"
#include "platform/keys.h"

PlayerRecord Player{};
int32_t StepInterval = 0;

namespace {

bool Open(int32_t cell) { return cell != Wall && cell != Door; }

bool KeyPressed(int vk) { return GetAsyncKeyState(vk) != 0; }

void Blit(int32_t sx, int32_t sy) { DrawSprite(Player.x, Player.y, 12, 12, sx, sy); }

// The siren rises with the dots eaten; energisers count as well.
void FollowSirenPitch() {
    if (DotsEaten == 90 || DotsEaten == 150 || DotsEaten == 190 || DotsEaten == 220) {
        StopSirens();
        StartSiren();
    }
}

}  // namespace

void ResetPlayer() {
    const uint32_t now = GetTickCount();
    Player.x = PlayerStartX;
    Player.y = PlayerStartY;
    Player.dir = Left;
    Player.wantLeft = Player.wantRight = Player.wantUp = Player.wantDown = 0;
    Player.frame = 0;
    Player.nextStep = now + 30;
    Player.state = PlayerAlive;
    Player.deathSoundDone = 0;
    ScatterTimer = now + 25000;
    CalmGhosts();
}

void PollPlayerKeys() {
    // Of two opposite keys held together the later test wins: down over up, right over left.
    if (KeyPressed('2') || KeyPressed(VK_UP)) {
        Player.wantUp = Player.dir == Up ? 0 : 1;
        Player.wantDown = 0;
    }
    if (KeyPressed('8') || KeyPressed(VK_DOWN)) {
        Player.wantUp = 0;
        Player.wantDown = Player.dir == Down ? 0 : 1;
    }
    if (KeyPressed('4') || KeyPressed(VK_LEFT)) {
        Player.wantLeft = Player.dir == Left ? 0 : 1;
        Player.wantRight = 0;
    }
    if (KeyPressed('6') || KeyPressed(VK_RIGHT)) {
        Player.wantLeft = 0;
        Player.wantRight = Player.dir == Right ? 0 : 1;
    }
}

void StepPlayer(uint32_t now) {
    if (!TickAfter(now, Player.nextStep)) return;
    MovePlayer(QueryNeighbours(Player.x, Player.y));
    if (QueryNeighbours(Player.x, Player.y).atCentre) EatCell(Player.x, Player.y);
    Player.nextStep = GetTickCount() + uint32_t(StepInterval);
}

void MovePlayer(const Neighbours& n) {
    const bool anyWish = Player.wantUp || Player.wantDown || Player.wantRight || Player.wantLeft;
    if (anyWish && n.atCentre) {
        // Each honoured wish overrides the one before and is consumed all the same.
        if (Player.wantUp && Open(n.up)) {
            Player.dir = Up;
            Player.wantUp = 0;
        }
        if (Player.wantDown && Open(n.down)) {
            Player.dir = Down;
            Player.wantDown = 0;
        }
        if (Player.wantRight && Open(n.right)) {
            Player.dir = Right;
            Player.wantRight = 0;
        }
        if (Player.wantLeft && Open(n.left)) {
            Player.dir = Left;
            Player.wantLeft = 0;
        }
    }
    int32_t ahead = Wall;
    switch (Player.dir) {
        case Up: ahead = n.up; break;
        case Right: ahead = n.right; break;
        case Down: ahead = n.down; break;
        case Left: ahead = n.left; break;
        default: break;
    }
    if (Open(ahead)) {
        switch (Player.dir) {
            case Up: Player.y -= 1; break;
            case Right: Player.x += 1; break;
            case Down: Player.y += 1; break;
            case Left: Player.x -= 1; break;
            default: break;
        }
        Player.frame = (Player.frame + 1) % 9;
    }
    if (Player.x < -11) Player.x = 175;
    if (Player.x > 175) Player.x = -11;
}

void EatCell(int32_t x, int32_t y) {
    const int c = (x - 1) / 6;
    const int r = (y - 16) / 6;
    const int32_t cell = CellAt(c, r);  // outside the grid (the tunnel's ends) it is plain floor
    if (cell == Dot) {
        if (ChompOn == 0) {
            ResumeVoice(ChompVoice);
            ChompOn = 1;
        }
        MazeGrid[r * MazeColumns + c] = EatenDot;
        Score += 10;
        DotsEaten += 1;
        FollowSirenPitch();
        EraseDot(c, r);
        // Only a dot speeds the player up; an energiser on these counts does not.
        if (DotsEaten == 44 || DotsEaten == 94 || DotsEaten == 144 || DotsEaten == 194) StepInterval -= 1;
    } else if (cell == Energiser) {
        MazeGrid[r * MazeColumns + c] = EatenEnergiser;
        Score += 50;
        DotsEaten += 1;
        FollowSirenPitch();
        FleeGhosts();
        FrightenGhosts();
    } else if (ChompOn == 1) {
        PauseVoice(ChompVoice);
        ChompOn = 0;
    }
    if (DotsEaten == EdibleCells) {
        GamePhase = PhaseLevelClear;
        FlashCounter = 0;
        LevelClearEnd = GetTickCount() + 3500;
    }
}

void AdvanceDeath(uint32_t now) {
    if (Player.state != PlayerDying || !TickAfter(now, Player.nextStep)) return;
    Player.frame += 1;
    if (Player.frame != 10) Player.nextStep = now + 200;
}

void DrawPlayer() {
    switch (Player.state) {
        case PlayerAlive: {
            static constexpr int32_t cells[4][3][2] = {
                {{12, 12}, {24, 12}, {36, 12}},  // up
                {{0, 0}, {12, 0}, {24, 0}},      // right
                {{72, 0}, {84, 0}, {0, 12}},     // down
                {{60, 0}, {48, 0}, {36, 0}},     // left
            };
            if (Player.dir < Up || Player.dir > Left) return;
            const int step = (uint32_t(Player.frame) % 9) / 3;
            Blit(cells[Player.dir - 1][step][0], cells[Player.dir - 1][step][1]);
            break;
        }
        case PlayerDying: {
            static constexpr int32_t cells[9][2] = {
                {72, 36}, {12, 12}, {24, 12}, {36, 12}, {48, 12}, {60, 12}, {72, 12}, {84, 12}, {84, 36},
            };
            if (Player.frame >= 10) {
                Player.state = PlayerLost;
                return;
            }
            if (Player.frame < 1) return;
            Blit(cells[Player.frame - 1][0], cells[Player.frame - 1][1]);
            if (Player.frame == 2 && Player.deathSoundDone == 0) {
                // The death sound silences every loop first.
                Player.deathSoundDone = 1;
                SilenceLoops();
                PlayGameSample(SampleDeath);
            }
            break;
        }
        case PlayerReady: Blit(72, 36); break;
        default: break;
    }
}

void DrawLives() {
    for (int32_t i = 0; i <= Player.lives - 2; ++i) DrawSprite(10 + 12 * i, 206, 12, 12, 72, 48);
}
