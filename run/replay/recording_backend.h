// The recording backend: stands in front of the backend that runs the game (the window,
// or the headless harness), passes every call on, and writes down in a journal what each
// Sleep, WaitEvents and PollEvents brought: the messages posted since the call before,
// and the tick count when it differs from what the clock foretold.
#pragma once
#include <vector>
#include "platform/forwarding_backend.h"
#include "run/replay/journal.h"

class RecordingBackend : public ForwardingBackend {
public:
    explicit RecordingBackend(Backend& inner) : ForwardingBackend(inner) {}

    void Sleep(uint32_t ms) override;
    void WaitEvents(uint32_t until) override;
    void PollEvents() override;

    // A pass begins: its calls are counted from 1, and only messages posted from now on
    // belong to them (those already waiting are the queue's state, kept apart).
    void BeginPass(uint64_t pass);
    // The journal so far; ForgetJournal empties it.
    const std::vector<JournalEntry>& Journal() const { return journal_; }
    void ForgetJournal() { journal_.clear(); }

private:
    void Note(uint32_t foretold);

    std::vector<JournalEntry> journal_;
    uint64_t pass_ = 0;
    uint32_t call_ = 0;
    uint64_t seen_ = 0;  // messages posted before the calls already noted
};
