// The player: steering wishes from the keypad, one pixel per step, eating at cell
// centres, the lives and the death animation.
#pragma once
#include <cstdint>

enum PlayerState : int32_t { PlayerLost = 0, PlayerAlive = 1, PlayerDying = 2, PlayerReady = 3 };

struct PlayerRecord {
    int32_t x, y;
    int32_t state;
    int32_t dir;
    int32_t frame;  // alive: walking counter 0..8; dying: death step 1..10
    int32_t wantLeft, wantRight, wantUp, wantDown;
    int32_t lives;
    uint32_t nextStep;
    int32_t deathSoundDone;
};

struct Neighbours;

extern PlayerRecord Player;
extern int32_t StepInterval;  // ms between player steps; the ghosts' delays derive from it

constexpr int32_t PlayerStartX = 82;
constexpr int32_t PlayerStartY = 154;

void ResetPlayer();
void PollPlayerKeys();
void StepPlayer(uint32_t now);
void MovePlayer(const Neighbours& n);
void EatCell(int32_t x, int32_t y);
void AdvanceDeath(uint32_t now);
void DrawPlayer();
void DrawLives();
