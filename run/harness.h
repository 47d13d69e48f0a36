// Running the program: the headless harness (virtual clock, script, state log,
// screenshots, audio out, run length) and the common run of the window version.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "app/loop_hooks.h"
#include "run/command_line.h"

class Backend;
class HeadlessBackend;

struct PassInfo {
    uint64_t pass;   // numbered from 1
    uint32_t tick;   // when the pass's frame function began
    const MSG* msg;  // what the pass dispatched
    FrameKind kind;
};
// Called after every pass of a run, before the state log is written (tests, soak).
extern std::function<void(const PassInfo&)> OnPassEnd;

// Runs the game with the backend already in force and the harness options of `cl`.
// Returns the exit code: 2 when the state log cannot be made, 1 when an output could
// not be written during the run (it ends there, with one line on stderr).
// `extra` watches the loop too (recording, replays): before the autopilot, and after the
// pass's state log and screenshots; its afterFrame may end the loop.
// With a headless backend named, only the frames of the passes to be saved are kept.
int RunProgram(const CommandLine& cl, const LoopHooks& extra = {}, HeadlessBackend* headless = nullptr);
// Whether the last RunProgram was ended by the harness (--frames, --until-tick, a signal,
// an output that failed) rather than by the game or `extra`.
bool RunCutShort();
// Puts the headless backend and the virtual audio device in force, then RunProgram.
// Nothing runs (exit code 2, one line) when the script cannot be read or parsed, an
// output cannot be written, or no temporary folder can be made for the settings;
// SIGINT, SIGTERM or SIGHUP ends the run between passes, its files whole and its
// temporary folder gone (exit code 128 + the signal).
int RunHeadless(const CommandLine& cl);
