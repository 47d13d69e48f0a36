// The replay backend: plays a recorded game back. Its clock and the outside world's
// messages come from the journal, call by call, so the game reads exactly what it read
// when it was played; the backend behind it (the window, or the headless harness) only
// shows the pictures, plays the sound and lets its own clock run as far as the replay's,
// so the game is seen at its own speed, or at the speed the viewer sets. What happens at
// that backend (keys, the close button, minimising) never reaches the game: the viewer's
// keys are the watching controls (watch_controls.h), and Escape stops the replay.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "platform/forwarding_backend.h"
#include "platform/replay_status.h"
#include "run/replay/journal.h"
#include "run/replay/watch_controls.h"

class ReplayBackend : public ForwardingBackend {
public:
    ReplayBackend(Backend& inner, uint32_t startTick, std::unique_ptr<JournalFeed> journal);

    uint32_t Ticks() override { return now_; }
    void Sleep(uint32_t ms) override { Call(ForetoldAfterSleep(now_, ms)); }
    void WaitEvents(uint32_t until) override { Call(ForetoldAfterWait(now_, until)); }
    void PollEvents() override { Call(now_); }
    bool CreateGameWindow(const std::string& title) override { return inner_.CreateGameWindow(title + " (replay)"); }
    void SetGameWindowTitle(const std::string& title) override { inner_.SetGameWindowTitle(title + " (replay)"); }
    // The recorded game's pause and GAME OVER are not the watcher's to leave: the window
    // says that this is a replay, and shows the volume as it changes; the card of the
    // watching keys may open at any moment, as no life is at stake.
    void SetHints(const HintSituation& situation) override {
        HintSituation watched;
        watched.volume = situation.volume;
        watched.helpAllowed = true;
        watched.replay = situation.replay.empty() ? "REPLAY" : situation.replay;
        inner_.SetHints(watched);
    }
    // A replay is only watched: it may run beside the game itself.
    bool OtherInstanceRunning(const std::string&) override { return false; }

    // The recorded game's first pass begins: the clock goes back to the game's first tick
    // (start-up has moved it) and the journal is served from pass 1 on.
    void Begin();
    // A pass begins; its calls are counted from 1. While the viewer holds the replay
    // paused, it waits here first (the last picture stays), until resumed, a pass asked
    // for, stopped or sent back to the start; a pause left alone for an hour ends.
    void BeginPass(uint64_t pass);
    // A jump of the recorded clock (a machine suspended, a stopped process) is played at
    // the backend behind for at most `ms` (the window need not wait days); the game's own
    // clock still jumps all the way.
    void SetLongestPace(uint32_t ms) { longestPace_ = ms; }
    // The backend behind is not run past this tick of the game's clock (a headless run's
    // end: a jump past it costs no sound that nobody will hear).
    void SetPaceEnd(uint32_t tick) {
        paceEnd_ = tick;
        hasPaceEnd_ = true;
    }
    // The backend behind is never asked to let its time pass: its clock stands still, so it
    // plays no sound at all (a check of the replay, which nobody watches or hears).
    void LeaveBehindStill() { still_ = true; }
    // Lets the backend behind run `ms` more of its own time (the last picture stays in the
    // window), unless Escape ends it sooner.
    void Linger(uint32_t ms) { Pace(ms); }

    // Escape (or the window's close button) was pressed at the backend behind.
    bool StopRequested() const { return controls_.StopAsked(); }
    // The viewer asked for the replay from its start again.
    bool RestartRequested() const { return controls_.RestartAsked(); }
    WatchControls& Controls() { return controls_; }
    // Called with true when a pause of the viewer's begins and false when it ends (the
    // sound is held meanwhile).
    void OnHold(std::function<void(bool)> hold) { onHold_ = std::move(hold); }
    // Called once the viewer's keys have changed the controls (the status has changed).
    void OnControls(std::function<void()> changed) { onControls_ = std::move(changed); }
    // The replay's game time in all, when known, for its status.
    void SetTotalMs(uint32_t ms) { totalMs_ = ms; }
    ReplayStatus Status() const { return controls_.Status(now_ - start_, totalMs_); }
    // The journal names a call the game never made: the game went another way.
    bool Failed() const { return failed_; }
    int FailedLine() const { return failedLine_; }
    const std::string& Failure() const { return failure_; }
    // The first entry not yet served; null when every one has been.
    const JournalEntry* NextEntry() const { return haveNext_ ? &next_ : nullptr; }

private:
    void Call(uint32_t foretold);
    void Hold();
    // The due entry's events reach the game, and the next entry is read.
    void Serve();
    void Pace(uint32_t ms);
    template <class Action>
    void Diverted(Action action);
    void Deliver(const JournalEvent& event);

    bool still_ = false;
    uint32_t longestPace_ = UINT32_MAX;
    uint32_t paceEnd_ = 0;
    bool hasPaceEnd_ = false;
    uint32_t start_;
    uint32_t now_;
    std::unique_ptr<JournalFeed> journal_;
    JournalEntry next_;
    bool haveNext_ = false;
    bool started_ = false;
    uint64_t pass_ = 0;
    uint32_t call_ = 0;
    WatchControls controls_;
    std::function<void(bool)> onHold_;
    std::function<void()> onControls_;
    uint32_t totalMs_ = 0;
    bool failed_ = false;
    int failedLine_ = 0;
    std::string failure_;
};
