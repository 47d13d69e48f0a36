// The replay file: one recorded game as text, line by line. A header (the format and its
// version, the program that recorded it, the game version it needs, whether the built-in
// player played it, the clock, the queue and the key table as the game's first pass found
// them, the game's state by name), then one line for each backend call that brought
// something, and an end line with the number of passes and the final score.
// docs/replays.md describes every line.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "platform/keys.h"
#include "platform/messages.h"
#include "run/replay/journal.h"
#include "run/replay_world.h"

constexpr int ReplayFormatVersion = 1;

struct Replay {
    std::string version;  // the program that recorded it
    int gameVersion = 0;  // the game it needs to be played as it was
    bool demo = false;    // the built-in player's game (--autopilot), never a player's
    uint32_t startTick = 0;
    QueueState queue;  // messages waiting, the timer, the quit flag
    KeyTable keys{};
    WorldValues world;
    // The passes' lines, ticks as the clock read them: a recorded game's, or a file's when
    // it was parsed whole (ParseReplay). A replay read to be played (ReadReplay) keeps
    // its file's text instead and reads them from it as they come (OpenJournal).
    std::vector<JournalEntry> journal;
    std::string text;
    size_t bodyAt = 0;  // where the text's first line after the header begins
    int bodyLine = 0;   // and that line's number
    uint64_t passes = 0;
    int32_t score = 0;
    int endLine = 0;  // where the end line stands in the file read
};

struct ReplayProblem {
    int line = 0;
    std::string what;
    bool otherGameVersion = false;  // a replay, but of a game this program does not play
};

// The most a replay file may hold: a game of an hour is some hundreds of kilobytes.
constexpr size_t LargestReplay = 64 << 20;

// The most passes a game can have: every pass sleeps at least 1 ms, and the clock counts
// 2^32 of them before it comes round again.
constexpr uint64_t LargestPassCount = UINT32_MAX;

// Reads a replay of this game version, every line of it; on any fault returns false with
// the line and what is wrong with it.
bool ParseReplay(const std::string& text, Replay& out, ReplayProblem& problem);
// The same check, keeping the text (moved in) rather than a copy of its passes' lines: a
// replay to be played costs the file's size in memory and little more.
bool ReadReplay(std::string text, Replay& out, ReplayProblem& problem);
// The passes' lines of a replay, in order, from its journal or its text.
std::unique_ptr<JournalFeed> OpenJournal(const Replay& replay);
std::string FormatReplay(const Replay& replay);
