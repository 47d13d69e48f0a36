// Recording the games played and playing them back.
#include "run/replays.h"
#include <cstdio>
#include <filesystem>
#include <utility>
#include "app/settings.h"
#include "app/window_hints.h"
#include "game/game_sounds.h"
#include "game/game_version.h"
#include "game/phase.h"
#include "game/score.h"
#include "platform/atomic_file.h"
#include "platform/input_file.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/registry_store.h"
#include "run/program_run.h"
#include "run/replay/recording_backend.h"
#include "run/replay/replay_backend.h"
#include "run/verify.h"
#include "sound/sound_system.h"

namespace {

// How long the window keeps the last picture of a replay before it closes.
constexpr uint32_t LingerMs = 3000;
// The longest a jump of the recorded clock is shown for in the window.
constexpr uint32_t LongestPaceMs = 3000;
// How far past a headless run's end the sound is played: more than any pass runs over it.
constexpr uint32_t PaceEndMarginMs = 2000;

// Watches the loop: takes the state at the start of every pass on the title, and when a
// pass starts a game, records from that pass on until the game ends.
class GameRecorder {
public:
    // `demo`: the built-in player plays the games, and their replays say so.
    GameRecorder(RecordingBackend& backend, bool demo, std::function<void(const Replay&)> keep)
        : backend_(backend), demo_(demo), keep_(std::move(keep)) {}

    void BeforeMessage() {
        if (inGame_) {
            backend_.BeginPass(++pass_);
            return;
        }
        phaseAtStart_ = GamePhase;
        backend_.ForgetJournal();
        backend_.BeginPass(1);
        start_.startTick = backend_.Ticks();
        start_.queue = SaveQueueState();
        start_.keys = SaveKeyStates();
        startWorld_ = WorldNumbers();
    }

    void AfterFrame() {
        if (!inGame_) {
            if (phaseAtStart_ != PhaseTitle || GamePhase == PhaseTitle) return;
            inGame_ = true;
            pass_ = 1;
        }
        done_ = pass_;
        // The pass's pacing sleep comes after its frame: the replay, which ends with the
        // last frame, never makes it, so it is no part of a game that ends with the loop.
        journalAtFrame_ = backend_.Journal().size();
        if (GamePhase == PhaseGameOver) Finish();
    }

    // The loop has ended (the back key, deactivation, the end of a headless run, the
    // display gone): a game still in play ends with it. True when one did.
    bool LoopEnded() {
        if (!inGame_) return false;
        Finish();
        return true;
    }

private:
    void Finish() {
        Replay game = start_;
        game.version = GLIMMO_VERSION;
        game.gameVersion = GameVersion;
        game.demo = demo_;
        game.world = NameWorld(startWorld_);
        const std::vector<JournalEntry>& journal = backend_.Journal();
        for (size_t i = 0; i < journalAtFrame_ && i < journal.size(); ++i)
            if (journal[i].pass <= done_) game.journal.push_back(journal[i]);
        game.passes = done_;
        game.score = Score;
        inGame_ = false;
        backend_.ForgetJournal();
        keep_(game);
    }

    RecordingBackend& backend_;
    bool demo_;
    std::function<void(const Replay&)> keep_;
    Replay start_;  // the clock, the queue and the keys as the pass found them
    std::vector<int64_t> startWorld_;
    int32_t phaseAtStart_ = PhaseTitle;
    bool inGame_ = false;
    uint64_t pass_ = 0;          // passes of the game begun, the one running included
    uint64_t done_ = 0;          // passes of the game whose frame has run
    size_t journalAtFrame_ = 0;  // the journal's entries when the last frame had run
};

void Warn(const std::string& what) {
    static std::string last;
    if (what == last) return;  // once, not at every game
    last = what;
    std::fprintf(stderr, "glimmo: could not keep the game: %s\n", what.c_str());
}

// The recorder of the run in hand, for the last words of a window whose display is gone.
GameRecorder* activeRecorder = nullptr;
// The replay being watched, for its status.
ReplayBackend* watched = nullptr;
// The last replay's fault, as printed.
std::string lastFault;

// The files of a run that --record must not take the place of, with what each is.
std::vector<std::pair<std::string, std::string>> FilesOfTheRun(const CommandLine& cl) {
    std::vector<std::pair<std::string, std::string>> files;
    if (!cl.script.empty()) files.emplace_back(cl.script, "the script of this run");
    if (!cl.stateLog.empty()) files.emplace_back(cl.stateLog, "the state log of this run");
    if (!cl.audioOut.empty()) files.emplace_back(cl.audioOut, "the audio of this run");
    for (const ScreenshotRequest& s : cl.screenshots) files.emplace_back(s.path, "a screenshot of this run");
    // The settings folder: headless, only the one named (else a temporary one of its own).
    const std::string folder = cl.headless ? cl.configDir : KeptFolder(cl);
    if (!folder.empty()) {
        files.emplace_back(folder + "/glimmo.reg", "the settings file");
        files.emplace_back(KeptReplayPath(folder, "last"), "the last game kept");
        files.emplace_back(KeptReplayPath(folder, "best"), "the best game kept");
    }
    return files;
}

// A replay's game time in all, which only playing it tells: a check plays it, in
// milliseconds, unseen by the passes' listener (it is not a run of the program's). 0 when
// it does not play to its end.
uint32_t GameTimeInAll(const Replay& replay) {
    auto listener = std::exchange(OnPassEnd, nullptr);
    const VerifyResult whole = VerifyReplay(replay.text.empty() ? FormatReplay(replay) : replay.text);
    OnPassEnd = std::move(listener);
    return whole.playedToEnd ? uint32_t(whole.gameMs) : 0;
}

}  // namespace

std::function<void()> OnGameKept;

std::string KeptFolder(const CommandLine& cl) { return cl.configDir.empty() ? DefaultRegistryFolder() : cl.configDir; }

std::string KeptReplayPath(const std::string& folder, const std::string& which) {
    return folder + "/" + which + ".replay";
}

std::string ReplayPathFor(const CommandLine& cl) {
    if (cl.replay != "best" && cl.replay != "last") return cl.replay;
    const std::string folder = KeptFolder(cl);
    return folder.empty() ? "" : KeptReplayPath(folder, cl.replay);
}

std::string WhyNotRecordable(const CommandLine& cl) {
    if (cl.record.empty()) return "";
    const std::string prefix = "cannot keep the games in " + cl.record + ": ";
    if (std::string why = WhyNotReplaceable(cl.record); !why.empty()) return prefix + why;
    for (const auto& [path, what] : FilesOfTheRun(cl))
        if (SameFile(cl.record, path)) return prefix + "it is " + what;
    return "";
}

bool KeepGame(const std::string& folder, const Replay& game, bool mayBeBest, std::string* error) {
    const std::string text = FormatReplay(game);
    bool ok = WriteFileAtomically(KeptReplayPath(folder, "last"), text, 0600, error);
    const std::string bestPath = KeptReplayPath(folder, "best");
    if (!mayBeBest) return ok;
    std::string kept;
    Replay best;
    ReplayProblem problem;
    // A best game this program cannot play (damaged, or of another game version) gives way.
    bool beaten = !ReadInputFile(bestPath, LargestReplay, true, kept).empty() ||
                  !ReadReplay(std::move(kept), best, problem) || game.score > best.score;
    if (beaten) ok = WriteFileAtomically(bestPath, text, 0600, ok ? error : nullptr) && ok;
    return ok;
}

int RunRecorded(const CommandLine& cl, Backend& inner, bool keepInFolder, bool strict, SoundRecorder* sound) {
    RecordingBackend recording(inner);
    SetBackend(&recording);
    // Without a settings folder (no HOME) nothing is kept, as the start has said.
    const std::string folder = KeptFolder(cl);
    // The demo's game is kept as the last one, but is never the player's best.
    const bool mayBeBest = !cl.autopilotSeed;
    std::string recordFailure;
    GameRecorder recorder(recording, !mayBeBest, [&](const Replay& game) {
        std::string error;
        if (keepInFolder && !folder.empty()) {
            if (!KeepGame(folder, game, mayBeBest, &error)) Warn(error);
            if (OnGameKept) OnGameKept();
        }
        // The file named is written where it is (through a link), in a folder never made.
        if (!cl.record.empty() &&
            !WriteFileAtomically(FollowLinks(cl.record), FormatReplay(game), 0644, &error, true, false)) {
            if (!strict) Warn(error);
            else if (recordFailure.empty()) recordFailure = error;
        }
    });
    activeRecorder = &recorder;
    LoopHooks hooks;
    hooks.beforeMessage = [&] { recorder.BeforeMessage(); };
    hooks.afterFrame = [&](const MSG&, uint32_t, FrameKind) {
        recorder.AfterFrame();
        return true;
    };
    int code = RunProgram(cl, hooks, nullptr, sound);
    recorder.LoopEnded();
    activeRecorder = nullptr;
    SetBackend(&inner);
    if (!recordFailure.empty()) {
        std::fprintf(stderr, "glimmo: could not keep the game: %s\n", recordFailure.c_str());
        return code ? code : 1;
    }
    return code;
}

std::string KeepAtSessionEnd() {
    const bool game = activeRecorder && activeRecorder->LoopEnded();
    const bool settings = KeepSettingsAtSessionEnd();
    if (game && settings) return "the best score and volume are saved, and the game in play is kept";
    if (game) return "the game in play is kept";
    return settings ? "the best score and volume are saved" : "";
}

bool LoadReplay(const CommandLine& cl, Replay& replay) {
    const std::string path = ReplayPathFor(cl);
    const bool kept = cl.replay == "best" || cl.replay == "last";
    if (path.empty()) {
        std::fprintf(stderr, "glimmo: no %s game is kept: HOME is not set (--config-dir DIR names the folder)\n",
                     cl.replay.c_str());
        return false;
    }
    std::string text;
    // The kept games are files of ours: anything else there is not read (a pipe would wait).
    if (std::string why = ReadInputFile(path, LargestReplay, kept, text); !why.empty()) {
        std::error_code ec;
        if (kept && !std::filesystem::exists(path, ec) && !ec)
            std::fprintf(stderr, "glimmo: no %s game is kept yet (no %s)\n", cl.replay.c_str(), path.c_str());
        else std::fprintf(stderr, "glimmo: cannot read the replay %s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    ReplayProblem problem;
    if (!ReadReplay(std::move(text), replay, problem)) {
        std::fprintf(stderr, "glimmo: %s: replay line %d: %s\n", path.c_str(), problem.line, problem.what.c_str());
        return false;
    }
    return true;
}

ReplayPlayed PlayReplay(const CommandLine& cl, const Replay& replay, ReplayBackend& playback, SoundRecorder* sound,
                        const std::function<bool()>& goOn) {
    SetBackend(&playback);
    // The replayed game reads and saves no settings: the player's stay as they are.
    SetRegistryFolder("");

    ReplayPlayed played;
    bool reachedEnd = false, overEarly = false;
    LoopHooks hooks;
    hooks.beforeMessage = [&] {
        if (played.passes == 0) {
            // The window is never told of a game in play, so Escape there is always Escape,
            // which stops the replay, and never the pause key.
            SetPlayStateSource(nullptr);
            playback.Begin();
            RestoreQueueState(replay.queue);
            RestoreKeyStates(replay.keys);
            ApplyWorld(replay.world);
            Mixer.SetSampleMasterVolume(Sound);
        }
        playback.BeginPass(++played.passes);
    };
    hooks.afterFrame = [&](const MSG&, uint32_t, FrameKind) {
        if (playback.StopRequested() || playback.Failed() || playback.RestartRequested()) return false;
        if (played.passes >= replay.passes) reachedEnd = true;
        else if (GamePhase == PhaseGameOver) overEarly = true;
        else if (goOn && !goOn()) {
            played.stopped = true;
            return false;
        } else return true;
        if (!cl.headless) playback.Linger(LingerMs);
        return false;
    };
    played.code = RunProgram(cl, hooks, nullptr, sound);
    played.gameMs = playback.Ticks() - replay.startTick;

    auto fault = [&](int line, const std::string& what) {
        played.faultLine = line;
        played.fault = what;
        return played;
    };
    played.restart = playback.RestartRequested();
    if (playback.StopRequested()) played.stopped = true;
    if (played.stopped || played.restart) return played;
    if (playback.Failed()) return fault(playback.FailedLine(), playback.Failure());
    played.playedToEnd = reachedEnd;
    const std::string recorded = "the recorded game ended with pass " + std::to_string(replay.passes);
    if (overEarly)
        return fault(replay.endLine, "the game is over at pass " + std::to_string(played.passes) + ", but " + recorded);
    if (!reachedEnd) {
        // Cut short by the harness: its own exit code and line, if any, tell why.
        played.cutShort = RunCutShort();
        if (played.cutShort) return played;
        return fault(replay.endLine, "the game ended at pass " + std::to_string(played.passes) + ", but " + recorded);
    }
    if (const JournalEntry* left = playback.NextEntry())
        return fault(left->line, "goes on past the end of its game (pass " + std::to_string(left->pass) + ")");
    if (Score != replay.score)
        return fault(replay.endLine, "the game ends with the score " + std::to_string(Score) +
                                         ", but the replay says " + std::to_string(replay.score));
    return played;
}

ReplayStatus WatchedReplayStatus() { return watched ? watched->Status() : ReplayStatus{}; }

std::string ReplayHintLine(const ReplayStatus& s) {
    if (!s.watching) return "";
    auto clock = [](uint32_t ms) {
        const uint32_t seconds = ms / 1000, minutes = seconds / 60;
        char text[32];
        if (minutes >= 60) std::snprintf(text, sizeof text, "%u:%02u:%02u", minutes / 60, minutes % 60, seconds % 60);
        else std::snprintf(text, sizeof text, "%u:%02u", minutes, seconds % 60);
        return std::string(text);
    };
    std::string line = s.paused ? "REPLAY PAUSED " : "REPLAY ";
    line += clock(s.playedMs);
    if (s.totalMs) line += " OF " + clock(s.totalMs);
    if (s.jumping) return line + ", >> AHEAD";
    return line + ", " + (s.speed < 1 ? std::string("1/2") : std::to_string(int(s.speed))) + "X";
}

int RunReplay(const CommandLine& cl, const Replay& replay, Backend& inner, SoundRecorder* sound) {
    const std::string path = ReplayPathFor(cl);
    // In the window, where it stands is shown against its whole length.
    const uint32_t totalMs = cl.headless ? 0 : GameTimeInAll(replay);
    // The viewer's pause holds the sound too (unless the game's own pause already does).
    bool heldSound = false;
    auto hold = [&heldSound](bool held) {
        if (held && !Mixer.outputPaused) {
            Mixer.PauseOutput();
            heldSound = true;
        } else if (!held && heldSound) {
            Mixer.ResumeOutput();
            heldSound = false;
        }
    };
    // The window's hints show where it stands, and anew at every key of the viewer's; a
    // headless run has no window to show them in, and words none.
    if (!cl.headless) SetReplayHintSource([] { return ReplayHintLine(WatchedReplayStatus()); });
    // Back to the start: the replay is played again from its first pass, at the speed set.
    int speedHalves = 2;
    ReplayPlayed played;
    do {
        ReplayBackend playback(inner, replay.startTick, OpenJournal(replay));
        if (!cl.headless) playback.SetLongestPace(LongestPaceMs);
        if (cl.untilTick) playback.SetPaceEnd(replay.startTick + *cl.untilTick + PaceEndMarginMs);
        playback.Controls().SetSpeedHalves(speedHalves);
        playback.SetTotalMs(totalMs);
        playback.OnHold(hold);
        playback.OnControls(UpdateWindowHints);
        watched = &playback;
        played = PlayReplay(cl, replay, playback, sound);
        watched = nullptr;
        speedHalves = playback.Controls().SpeedHalves();
    } while (played.restart);
    SetReplayHintSource(nullptr);
    SetBackend(&inner);
    lastFault.clear();
    if (played.fault.empty()) return played.code;
    // The kept best game reads but cannot be played (edited, or kept by a faulty build): it
    // is set aside, so that the next game kept takes its place.
    std::string aside;
    if (cl.replay == "best" && std::rename(path.c_str(), (path + ".bad").c_str()) == 0)
        aside = "; it is kept aside as " + path + ".bad, and the next game kept takes its place";
    lastFault = path + ": replay line " + std::to_string(played.faultLine) + ": " + played.fault + aside;
    std::fprintf(stderr, "glimmo: %s\n", lastFault.c_str());
    return 2;
}

const std::string& LastReplayFault() { return lastFault; }
