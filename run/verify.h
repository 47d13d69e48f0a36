// The check of a replay: plays it as fast as it can and says whether it holds what it
// claims, in a form a program can read (`glimmo --verify FILE`, the hall of fame). It
// leaves out only what cannot change the outcome: no picture is composed, no sound mixed.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

enum class Verdict { Holds, DoesNotHold, NotAReplay, OtherGameVersion, TooLong };

struct VerifyResult {
    Verdict verdict = Verdict::NotAReplay;
    std::string why;           // one line when it does not hold; empty when it does
    int32_t score = 0;         // what the game reached when played (the claimed one when it holds)
    int level = 0;             // the level reached
    uint64_t passes = 0;       // passes played
    uint64_t gameMs = 0;       // game time played, in ms of the game's clock
    int gameVersion = 0;       // the game version the replay names
    bool demo = false;         // the built-in player's game (--autopilot): never a player's score
    bool playedToEnd = false;  // played to its recorded end line
};

struct VerifyLimits {
    std::chrono::milliseconds timeLimit{0};  // 0: no limit; past it the check stops: Verdict::TooLong
};

// Not reentrant: the game is plain globals, so one check runs at a time in a process
// (VerifyReplay takes a process-wide lock). Parallelism comes from processes. While it
// plays, backends of its own are in force; after it, no backend, the sound device that
// was in force before, and no settings folder (a replay reads and saves no settings).
VerifyResult VerifyReplay(std::string text, const VerifyLimits& limits = {});
std::string VerifyJson(const VerifyResult& result);  // the one JSON line `glimmo --verify` prints
int VerifyExitCode(const VerifyResult& result);      // 0 holds, 2 not a replay, others distinct

// The exit codes of the verdicts that are neither 0 nor 2.
constexpr int VerifyDoesNotHoldCode = 3;
constexpr int VerifyOtherGameVersionCode = 4;
constexpr int VerifyTooLongCode = 5;

// `glimmo --verify PATH`: checks the replay in the file (the standard input for "-"),
// prints the JSON line and returns the exit code. A file that cannot be read is not a
// replay.
int VerifyFile(const std::string& path);
