// An auto-reset event for the mixing thread's stop and done signals: Set wakes one
// waiter (or the next wait), and a successful wait clears it again.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

class Event {
public:
    void Set();
    // True when the event was set within timeoutMs (and clears it).
    bool Wait(uint32_t timeoutMs);
    void WaitForever();
    void Clear();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};
