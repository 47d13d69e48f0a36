// The run shared by the programs: the game's entry with the loop watched (the autopilot,
// the state log, screenshots, the run's length and its outputs' failures).
#pragma once
#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include "app/loop_hooks.h"
#include "run/command_line.h"

class ScriptedBackend;
class SoundRecorder;

struct PassInfo {
    uint64_t pass;   // numbered from 1
    uint32_t tick;   // when the pass's frame function began
    const MSG* msg;  // what the pass dispatched
    FrameKind kind;
};
// Called after every pass of a run, before the state log is written (tests, soak).
extern std::function<void(const PassInfo&)> OnPassEnd;

// A signal that asked the run to stop (0 for none): the run ends after the pass in hand.
extern volatile std::sig_atomic_t RunStopSignal;

// Runs the game with the backend already in force and the run options of `cl`.
// Returns the exit code: 2 when the state log cannot be made, 1 when an output could
// not be written during the run (it ends there, with one line on stderr).
// `extra` watches the loop too (recording, replays): before the autopilot, and after the
// pass's state log and screenshots; its afterFrame may end the loop.
// With a scripted (headless) backend named, only the frames of the passes to be saved
// are kept; with a sound recorder, a write of the sound that failed ends the run.
int RunProgram(const CommandLine& cl, const LoopHooks& extra = {}, ScriptedBackend* headless = nullptr,
               SoundRecorder* sound = nullptr);
// Whether the last RunProgram was ended by the run (--frames, --until-tick, a signal,
// an output that failed) rather than by the game or `extra`.
bool RunCutShort();
