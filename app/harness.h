// Running the program: the headless harness (virtual clock, script, state log,
// screenshots, audio out, run length) and the common run of the window version.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "app/command_line.h"
#include "app/loop_hooks.h"

class Backend;

struct PassInfo {
    uint64_t pass;   // numbered from 1
    uint32_t tick;   // when the pass's frame function began
    const MSG* msg;  // what the pass dispatched
    FrameKind kind;
};
// Called after every pass of a run, before the state log is written (tests, soak).
extern std::function<void(const PassInfo&)> OnPassEnd;

// Runs the game with the backend already in force and the harness options of `cl`.
// Returns the exit code; on a setup error (unreadable script, bad line) prints it and returns 2.
int RunProgram(const CommandLine& cl);
// Puts the headless backend and the virtual audio device in force, then RunProgram.
int RunHeadless(const CommandLine& cl);
