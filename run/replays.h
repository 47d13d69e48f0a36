// Replays of games played: every game is recorded as it is played, kept when it ends
// (last.replay and best.replay beside the settings file, and the file --record names),
// and played back with --replay, in the window at its own speed or headless.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "platform/replay_status.h"
#include "run/command_line.h"
#include "run/replay_file.h"

class Backend;
class ReplayBackend;
class SoundRecorder;

// The settings folder, where the settings and the kept games are; "" when there is none
// (no HOME).
std::string KeptFolder(const CommandLine& cl);
// The kept games of a settings folder: which is "last" or "best".
std::string KeptReplayPath(const std::string& folder, const std::string& which);
// The file --replay names: "best" and "last" are the kept games of the settings folder
// ("" when there is none).
std::string ReplayPathFor(const CommandLine& cl);
// Keeps a finished game in `folder`: last.replay always, best.replay when `mayBeBest` and its
// score beats the one kept there (or none that this program can play is kept). False with
// `error` set when a file could not be written.
bool KeepGame(const std::string& folder, const Replay& game, bool mayBeBest, std::string* error);

// Why --record cannot keep the games in the file it names: "" when it can, else the line
// to print before anything runs. The file must be a regular file (or a link to one) or a
// new name in a folder that is there, and none of the run's other files.
std::string WhyNotRecordable(const CommandLine& cl);
// Runs the program with `inner` as its backend and every game recorded: kept in the
// settings folder when `keepInFolder`, and in the file --record names. A game that could
// not be kept in that file makes the exit code 1, with one line, when `strict` (headless).
int RunRecorded(const CommandLine& cl, Backend& inner, bool keepInFolder, bool strict = false,
                SoundRecorder* sound = nullptr);
// The window's last words when its display is gone: the game in play kept as a game
// that ended there, the settings saved; says what was kept ("" for nothing).
std::string KeepAtSessionEnd();
// Reads the replay --replay names; on a fault says so in one line and returns false.
bool LoadReplay(const CommandLine& cl, Replay& replay);
// How a replay played.
struct ReplayPlayed {
    int code = 0;              // the run's exit code
    uint64_t passes = 0;       // passes played
    uint32_t gameMs = 0;       // the game's clock, from its first pass to where it stopped
    bool playedToEnd = false;  // to the pass of its end line
    bool stopped = false;      // Escape at the window, or the caller's goOn said no
    bool restart = false;      // the viewer sent it back to the start
    bool cutShort = false;     // the harness ended the run (its length, a signal, an output)
    int faultLine = 0;         // the game went another way than the one recorded (or ended
    std::string fault;         // with another score): where, and what ("" when it did not)
};
// Plays a replay through `playback` (in force while it plays) with the run options of
// `cl`, as far as `goOn` lets it (asked after every pass but the last).
ReplayPlayed PlayReplay(const CommandLine& cl, const Replay& replay, ReplayBackend& playback,
                        SoundRecorder* sound = nullptr, const std::function<bool()>& goOn = {});
// Where the replay being watched stands (its time played and in all, the speed, whether
// it is paused), for the window to show; `watching` is false when none is.
ReplayStatus WatchedReplayStatus();
// The status as the window's hints say it ("REPLAY PAUSED 1:23 OF 5:24, 4X"); "" for none.
std::string ReplayHintLine(const ReplayStatus& status);
// Plays a replay back through `inner` (the window, or the headless harness with its
// outputs), with the watching controls (run/replay/watch_controls.h): the keys of the
// window, or headless those of the script. 0 when it played to its end or was stopped with Escape; 2, with one line
// naming the file and line, when the game went another way than the one recorded.
int RunReplay(const CommandLine& cl, const Replay& replay, Backend& inner, SoundRecorder* sound = nullptr);
