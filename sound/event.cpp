// The auto-reset event behind the mixing thread's stop and done signals.
#include "sound/event.h"
#include <chrono>

void Event::Set() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        set_ = true;
    }
    cv_.notify_all();
}

bool Event::Wait(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> hold(mutex_);
    if (timeoutMs == 0) {
        // A look, not a wait: no trip to the system (the mixing thread looks between blocks).
        bool was = set_;
        set_ = false;
        return was;
    }
    if (!cv_.wait_for(hold, std::chrono::milliseconds(timeoutMs), [this] { return set_; })) return false;
    set_ = false;
    return true;
}

void Event::WaitForever() {
    std::unique_lock<std::mutex> hold(mutex_);
    cv_.wait(hold, [this] { return set_; });
    set_ = false;
}

void Event::Clear() {
    std::lock_guard<std::mutex> hold(mutex_);
    set_ = false;
}
