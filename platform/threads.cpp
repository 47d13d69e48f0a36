// Thread priorities: each request is noted for its thread until the thread ends, then
// handed to the audio device in force, which knows how to ask the system.
#include "platform/threads.h"
#include <map>
#include <mutex>
#include "platform/waveout.h"

namespace {
// Never destroyed: a thread may end while the process is already exiting.
struct Requests {
    std::mutex mutex;
    std::map<std::thread::id, int> byThread;
};
Requests& R() {
    static Requests* requests = new Requests;
    return *requests;
}

// Forgets the thread's request when it ends, so a later thread with the same id starts clean.
struct ForgetAtThreadEnd {
    bool noted = false;
    ~ForgetAtThreadEnd() {
        if (!noted) return;
        std::lock_guard<std::mutex> hold(R().mutex);
        R().byThread.erase(std::this_thread::get_id());
    }
};
thread_local ForgetAtThreadEnd forget;

HANDLE const CurrentThread = reinterpret_cast<HANDLE>(intptr_t(-2));
}  // namespace

HANDLE GetCurrentThread() { return CurrentThread; }

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (thread != CurrentThread || priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE)
        return 0;
    {
        std::lock_guard<std::mutex> hold(R().mutex);
        R().byThread[std::this_thread::get_id()] = priority;
        forget.noted = true;
    }
    WaveOutBackend* device = CurrentWaveOutBackend();
    return device && device->SetCurrentThreadPriority(priority) ? 1 : 0;
}

int ThreadPriorityAskedBy(std::thread::id thread) {
    std::lock_guard<std::mutex> hold(R().mutex);
    auto found = R().byThread.find(thread);
    return found == R().byThread.end() ? THREAD_PRIORITY_NORMAL : found->second;
}
