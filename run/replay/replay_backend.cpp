// Serving a recorded game's journal, and keeping the backend behind it alive meanwhile.
#include "run/replay/replay_backend.h"
#include <algorithm>
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace {
// A pause of the viewer's left alone this long ends by itself (and one in a headless run,
// whose script brings no more keys, does not wait for ever).
constexpr uint32_t LongestPauseMs = 3600 * 1000;
}  // namespace

ReplayBackend::ReplayBackend(Backend& inner, uint32_t startTick, std::unique_ptr<JournalFeed> journal)
    : ForwardingBackend(inner), start_(startTick), now_(startTick), journal_(std::move(journal)) {
    haveNext_ = journal_->Next(next_);
}

void ReplayBackend::Begin() {
    now_ = start_;
    started_ = true;
}

void ReplayBackend::BeginPass(uint64_t pass) {
    pass_ = pass;
    call_ = 0;
    const JournalEntry* next = NextEntry();
    if (started_ && !failed_ && next && next->pass < pass) {
        failed_ = true;
        failedLine_ = next->line;
        failure_ = "pass " + std::to_string(next->pass) + " made fewer than " + std::to_string(next->call) +
                   " calls: the game went another way than the one recorded";
    }
    if (started_ && !still_) Hold();
}

void ReplayBackend::Hold() {
    if (!controls_.Paused() || StopRequested() || RestartRequested()) return;
    if (onHold_) onHold_(true);
    while (controls_.Paused() && !StopRequested() && !RestartRequested() && !controls_.TakeStep()) {
        const uint32_t before = inner_.Ticks();
        Diverted([&] { inner_.WaitEvents(before + LongestPauseMs); });
        if (inner_.Ticks() - before >= LongestPauseMs) controls_.Resume();
    }
    if (onHold_) onHold_(false);
}

void ReplayBackend::Call(uint32_t foretold) {
    ++call_;
    const uint32_t before = now_;
    const bool due = started_ && !failed_ && haveNext_ && next_.pass == pass_ && next_.call == call_;
    now_ = due ? next_.tick : foretold;
    if (still_) {
        if (due) Serve();
        return;
    }
    int32_t advance = int32_t(now_ - before);
    uint32_t paced = advance > 0 ? uint32_t(advance) : 0;
    if (hasPaceEnd_) {
        const int32_t left = int32_t(paceEnd_ - before);
        paced = left <= 0 ? 0 : std::min(paced, uint32_t(left));
    }
    Pace(controls_.WindowMs(std::min(paced, longestPace_), now_));
    // After the backend behind has had its turn: what it brought was put aside, this stays.
    if (due) Serve();
}

void ReplayBackend::Serve() {
    for (const JournalEvent& event : next_.events) Deliver(event);
    haveNext_ = journal_->Next(next_);
}

void ReplayBackend::Pace(uint32_t ms) {
    const uint32_t target = inner_.Ticks() + ms;
    do {
        Diverted([&] {
            if (ms == 0) inner_.PollEvents();
            else inner_.WaitEvents(target);
        });
    } while (ms != 0 && !StopRequested() && !RestartRequested() && int32_t(target - inner_.Ticks()) > 0);
}

// Runs a call of the backend behind and takes back whatever it brought: the queue and the
// key table are as they were, and only the keys going down are heeded, as the viewer's.
template <class Action>
void ReplayBackend::Diverted(Action action) {
    const QueueState queue = SaveQueueState();
    const KeyTable held = SaveKeyStates();
    const uint64_t before = PostedCount();
    action();
    const uint64_t posted = PostedCount() - before;
    if (posted) {
        bool keys = false;
        for (const MSG& m : NewestMessages(posted))
            if (m.message == WM_KEYDOWN) {
                controls_.Key(int(m.wParam), now_);
                keys = true;
            }
        RestoreQueueState(queue);
        RestoreKeyStates(held);
        if (keys && onControls_) onControls_();
    }
}

void ReplayBackend::Deliver(const JournalEvent& event) {
    if (event.message == WM_KEYDOWN) KeyEvent(int(event.wParam), true);
    else if (event.message == WM_KEYUP) KeyEvent(int(event.wParam), false);
    else PostMessageW(GameWindow(), event.message, event.wParam, event.lParam);
}
