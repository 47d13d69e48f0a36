// What a game took from the outside world, call by call of its backend: a recording
// backend writes it down while the game is played, a replay backend plays it back.
// A pass's calls are its backend's Sleep, WaitEvents and PollEvents, counted from 1; only
// the calls that did something the clock alone would not foretell are written down.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/win_types.h"

// A message the outside world brought: a key going down or up (WM_KEYDOWN, WM_KEYUP with
// the virtual key) or anything a backend posts to the window (WM_ACTIVATE when it is
// minimised).
struct JournalEvent {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const JournalEvent&) const = default;
};

struct JournalEntry {
    uint64_t pass = 0;  // the game's pass, from 1
    uint32_t call = 0;  // the call within the pass, from 1
    uint32_t tick = 0;  // the tick count once the call returned
    std::vector<JournalEvent> events;
    int line = 0;  // where a replay file holds it (0 when it holds none)
    bool operator==(const JournalEntry& o) const {
        return pass == o.pass && call == o.call && tick == o.tick && events == o.events;
    }
};

// Where a replay backend takes its entries from, one at a time and in order: a game's
// journal held whole, or a replay file read as it plays.
class JournalFeed {
public:
    virtual ~JournalFeed() = default;
    // The next entry into `entry`; false when there is none.
    virtual bool Next(JournalEntry& entry) = 0;
};

// The tick a call leaves when nothing unforeseen happens: a sleep moves the clock by its
// length, a wait runs to its end, a poll leaves it alone.
inline uint32_t ForetoldAfterSleep(uint32_t now, uint32_t ms) { return now + ms; }
inline uint32_t ForetoldAfterWait(uint32_t now, uint32_t until) { return int32_t(until - now) > 0 ? until : now; }
