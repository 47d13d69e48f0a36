// Writing down what each backend call brought the game.
#include "run/replay/recording_backend.h"
#include "platform/messages.h"

void RecordingBackend::Sleep(uint32_t ms) {
    uint32_t foretold = ForetoldAfterSleep(inner_.Ticks(), ms);
    inner_.Sleep(ms);
    Note(foretold);
}

void RecordingBackend::WaitEvents(uint32_t until) {
    uint32_t foretold = ForetoldAfterWait(inner_.Ticks(), until);
    inner_.WaitEvents(until);
    Note(foretold);
}

void RecordingBackend::PollEvents() {
    uint32_t foretold = inner_.Ticks();
    inner_.PollEvents();
    Note(foretold);
}

void RecordingBackend::BeginPass(uint64_t pass) {
    pass_ = pass;
    call_ = 0;
    seen_ = PostedCount();
}

void RecordingBackend::Note(uint32_t foretold) {
    ++call_;
    uint32_t tick = inner_.Ticks();
    uint64_t posted = PostedCount() - seen_;
    seen_ = PostedCount();
    if (tick == foretold && posted == 0) return;
    JournalEntry entry{pass_, call_, tick, {}, 0};
    // Nothing takes a message off the queue between its posting and the next backend call
    // (GetMessageW polls first), so the newest messages are the ones this call brought.
    for (const MSG& m : NewestMessages(posted)) entry.events.push_back(JournalEvent{m.message, m.wParam, m.lParam});
    journal_.push_back(std::move(entry));
}
