// Threads without threads: the link hands pthread_create, pthread_join and the condition
// waits to the functions below (-Wl,--wrap), which run each thread as a fiber. A wait
// gives the turn to the next fiber; mutexes need nothing more, as a fiber only ever
// gives up its turn inside a wait, never while it holds a lock.
#include "platform/web/web_threads.h"
#include <emscripten.h>
#include <emscripten/fiber.h>
#include <pthread.h>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <vector>

namespace {
// Room for the mixing thread's calls (its C stack) and for the calls a swap saves.
constexpr size_t StackBytes = 128 * 1024;
constexpr size_t SavedCallsBytes = 64 * 1024;

struct Fiber {
    emscripten_fiber_t context{};
    void* (*start)(void*) = nullptr;
    void* argument = nullptr;
    bool finished = false;
    std::vector<uint8_t> stack;
    std::vector<uint8_t> savedCalls;
};

Fiber& MainFiber() {
    static Fiber* fiber = [] {
        auto* f = new Fiber;
        f->savedCalls.resize(SavedCallsBytes);
        emscripten_fiber_init_from_current_context(&f->context, f->savedCalls.data(), f->savedCalls.size());
        return f;
    }();
    return *fiber;
}
std::vector<Fiber*> others;  // the threads started, finished ones until joined
Fiber* current = nullptr;    // null: the main loop

void SwitchTo(Fiber* next) {
    Fiber* from = current ? current : &MainFiber();
    current = next == &MainFiber() ? nullptr : next;
    emscripten_fiber_swap(&from->context, &next->context);
}

// A thread's body; a fiber's entry must never return, so a finished one hands the turn
// back for good.
void RunThread(void* data) {
    auto* fiber = static_cast<Fiber*>(data);
    fiber->start(fiber->argument);
    fiber->finished = true;
    for (;;) SwitchTo(&MainFiber());
}

// A wait: the main loop gives each thread a turn; a thread gives the turn back.
void GiveTurn() {
    if (current) {
        SwitchTo(&MainFiber());
        return;
    }
    RunOtherThreads();
}

bool Passed(const timespec* deadline) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec > deadline->tv_sec || (now.tv_sec == deadline->tv_sec && now.tv_nsec >= deadline->tv_nsec);
}
}  // namespace

void RunOtherThreads() {
    if (current) return;
    for (size_t i = 0; i < others.size(); ++i)
        if (!others[i]->finished) SwitchTo(others[i]);
}

extern "C" {

int __wrap_pthread_create(pthread_t* thread, const pthread_attr_t*, void* (*start)(void*), void* argument) {
    MainFiber();
    auto* fiber = new Fiber;
    fiber->start = start;
    fiber->argument = argument;
    fiber->stack.resize(StackBytes);
    fiber->savedCalls.resize(SavedCallsBytes);
    emscripten_fiber_init(&fiber->context, RunThread, fiber, fiber->stack.data(), fiber->stack.size(),
                          fiber->savedCalls.data(), fiber->savedCalls.size());
    others.push_back(fiber);
    *thread = reinterpret_cast<pthread_t>(fiber);
    return 0;
}

int __wrap_pthread_join(pthread_t thread, void** result) {
    auto* fiber = reinterpret_cast<Fiber*>(thread);
    while (!fiber->finished) SwitchTo(fiber);
    for (size_t i = 0; i < others.size(); ++i)
        if (others[i] == fiber) others.erase(others.begin() + long(i));
    if (result) *result = nullptr;
    delete fiber;
    return 0;
}

int __wrap_pthread_detach(pthread_t) { return 0; }

int __wrap_pthread_cond_wait(pthread_cond_t*, pthread_mutex_t*) {
    GiveTurn();
    return 0;
}

int __wrap_pthread_cond_timedwait(pthread_cond_t*, pthread_mutex_t*, const timespec* deadline) {
    if (Passed(deadline)) return ETIMEDOUT;
    GiveTurn();
    return Passed(deadline) ? ETIMEDOUT : 0;
}

// Waiters look again at their condition whenever their turn comes: nothing to wake.
int __wrap_pthread_cond_signal(pthread_cond_t*) { return 0; }
int __wrap_pthread_cond_broadcast(pthread_cond_t*) { return 0; }

}  // extern "C"
