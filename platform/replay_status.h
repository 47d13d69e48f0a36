// Where a replay being watched stands, as the window shows it: a small plain value that
// the program's run hands to whatever draws it.
#pragma once
#include <cstdint>

struct ReplayStatus {
    bool watching = false;  // a replay is being watched (all else is then meaningful)
    uint32_t playedMs = 0;  // game time played so far, in ms of the game's clock
    uint32_t totalMs = 0;   // game time in all (0 when not known)
    float speed = 1;        // how many times its own speed it is shown at: 0.5 to 16
    bool paused = false;
    bool jumping = false;  // playing fast to a moment ahead
};
