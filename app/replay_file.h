// The replay file: one recorded game as text, line by line. A header (the format and its
// version, the program's version, the clock, the queue and the key table as the game's
// first pass found them, the game's state by name), then one line for each backend call
// that brought something, and an end line with the number of passes and the final score.
// docs/replays.md describes every line.
#pragma once
#include <cstdint>
#include <string>
#include "app/replay_world.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/replay/journal.h"

constexpr int ReplayFormatVersion = 1;

struct Replay {
    std::string version;  // the program that recorded it
    uint32_t startTick = 0;
    QueueState queue;  // messages waiting, the timer, the quit flag
    KeyTable keys{};
    WorldValues world;
    std::vector<JournalEntry> journal;  // ticks as the clock read them
    uint64_t passes = 0;
    int32_t score = 0;
    int endLine = 0;  // where the end line stands in the file read
};

struct ReplayProblem {
    int line = 0;
    std::string what;
};

// Reads a replay made by the program of `programVersion`; on any fault returns false with
// the line and what is wrong with it.
bool ParseReplay(const std::string& text, const std::string& programVersion, Replay& out, ReplayProblem& problem);
std::string FormatReplay(const Replay& replay);
