// The controls of a replay being watched: the viewer's keys at the window (pause and
// resume, one pass at a time, slower and faster, a jump ahead, back to the start, stop)
// and what they make of the game's time: how long the window lets each move of the game's
// clock last. None of them reaches the game, so none changes what the replay shows.
//   P or F10         pause, resume
//   Enter or Space   one pass, while paused
//   + or Up          faster (to 16 x)      - or Down   slower (to ½ x)
//   Right            ten seconds ahead, played as fast as can be
//   Left             back to the start     Escape      stop
#pragma once
#include <cstdint>
#include "platform/replay_status.h"

// How far a jump ahead goes, in the game's time.
constexpr uint32_t WatchJumpMs = 10000;

class WatchControls {
public:
    // A key went down at the window (its virtual key), while the game's clock showed `now`.
    void Key(int vk, uint32_t now);
    // How many ms of the window's own time a move of the game's clock by `gameMs`, ending
    // at `now`, lasts: none while jumping ahead, else scaled by the speed (the remainders
    // kept, so that at ½ x or 16 x the window's time is the game's, halved or divided).
    uint32_t WindowMs(uint32_t gameMs, uint32_t now);

    bool Paused() const { return paused_; }
    void Resume() { paused_ = false; }
    // One pass asked for while paused: true once, then it is taken.
    bool TakeStep();
    bool StopAsked() const { return stop_; }
    bool RestartAsked() const { return restart_; }
    // Speed in halves: 1 (½ x) to 32 (16 x); 2 is the game's own.
    int SpeedHalves() const { return speedHalves_; }
    void SetSpeedHalves(int halves);
    // Where the replay stands, at the game's `now` after `playedMs` of its time.
    ReplayStatus Status(uint32_t playedMs, uint32_t totalMs) const;

private:
    int speedHalves_ = 2;
    uint32_t owed_ = 0;  // twice the game ms not yet turned into window ms
    bool paused_ = false;
    bool step_ = false;
    bool stop_ = false;
    bool restart_ = false;
    bool jumping_ = false;
    uint32_t jumpTo_ = 0;  // the game's tick a jump ahead plays to
};
