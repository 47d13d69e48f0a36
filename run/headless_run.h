// The headless run: the script, the outputs checked before anything runs, a settings
// folder of the run's own, the signals that end it between passes, and the recorded
// sound, around the shared run (or a replay, or a recorded run).
#pragma once
#include "run/command_line.h"

class ScriptedBackend;
class SoundRecorder;

// The backend on a virtual clock and its sound's recorder, as the program's main chose
// them (the backend already in force, its audio device chosen).
struct HeadlessParts {
    ScriptedBackend& backend;
    SoundRecorder& sound;
};

// Nothing runs (exit code 2, one line) when the script cannot be read or parsed, an
// output cannot be written, or no temporary folder can be made for the settings;
// SIGINT, SIGTERM or SIGHUP ends the run between passes, its files whole and its
// temporary folder gone (exit code 128 + the signal).
int RunHeadless(const CommandLine& cl, const HeadlessParts& parts);
