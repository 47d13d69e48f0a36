// The game thread's message queue. The 2 ms timer fires on its grid (the tick it was
// set plus whole periods); at most one WM_TIMER waits, and only when nothing else does.
#include "platform/messages.h"
#include <cstddef>
#include <deque>
#include "platform/backend.h"
#include "platform/window.h"

namespace {
struct Timer {
    bool active = false;
    HWND window = nullptr;
    UINT id = 0;
    uint32_t period = 0;
    uint32_t nextDue = 0;  // the next grid point not yet handed out
};

std::deque<MSG> queue;
Timer timer;
bool quitPending = false;
int quitCode = 0;
uint64_t postedCount = 0;

bool Reached(uint32_t now, uint32_t tick) { return int32_t(now - tick) >= 0; }

bool TakeTimer(MSG* msg, uint32_t now) {
    if (!timer.active || !Reached(now, timer.nextDue)) return false;
    uint32_t late = now - timer.nextDue;
    timer.nextDue += timer.period * (late / timer.period + 1);
    *msg = MSG{timer.window, WM_TIMER, WPARAM(timer.id), 0, now};
    return true;
}
}  // namespace

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
    Backend& backend = CurrentBackend();
    for (;;) {
        backend.PollEvents();
        if (!queue.empty()) {
            *msg = queue.front();
            queue.pop_front();
            return 1;
        }
        if (quitPending) {
            quitPending = false;
            *msg = MSG{nullptr, WM_QUIT, WPARAM(quitCode), 0, backend.Ticks()};
            return 0;
        }
        uint32_t now = backend.Ticks();
        if (TakeTimer(msg, now)) return 1;
        backend.WaitEvents(timer.active ? timer.nextDue : now + 1000);
    }
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT remove) {
    Backend& backend = CurrentBackend();
    backend.PollEvents();
    if (!queue.empty()) {
        *msg = queue.front();
        if (remove == PM_REMOVE) queue.pop_front();
        return 1;
    }
    if (quitPending) {
        *msg = MSG{nullptr, WM_QUIT, WPARAM(quitCode), 0, backend.Ticks()};
        if (remove == PM_REMOVE) quitPending = false;
        return 1;
    }
    Timer saved = timer;
    if (TakeTimer(msg, backend.Ticks())) {
        if (remove != PM_REMOVE) timer = saved;
        return 1;
    }
    return 0;
}

bool MessageWaiting(uint32_t now) {
    return !queue.empty() || quitPending || (timer.active && Reached(now, timer.nextDue));
}

BOOL TranslateMessage(const MSG*) { return 0; }

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++postedCount;
    queue.push_back(MSG{window, message, wParam, lParam, HasBackend() ? CurrentBackend().Ticks() : 0});
    return 1;
}

void PostQuitMessage(int exitCode) {
    quitPending = true;
    quitCode = exitCode;
}

UINT SetTimer(HWND window, UINT id, UINT periodMs, void*) {
    if (periodMs == 0) periodMs = 1;
    uint32_t now = CurrentBackend().Ticks();
    timer = Timer{true, window, id, periodMs, now + periodMs};
    return id;
}

BOOL KillTimer(HWND, UINT id) {
    if (!timer.active || timer.id != id) return 0;
    timer.active = false;
    return 1;
}

void ResetMessageQueue() {
    queue.clear();
    timer = Timer{};
    quitPending = false;
    quitCode = 0;
}

QueueState SaveQueueState() {
    return QueueState{std::vector<MSG>(queue.begin(), queue.end()),
                      timer.active,
                      timer.id,
                      timer.period,
                      timer.nextDue,
                      quitPending,
                      quitCode};
}

void RestoreQueueState(const QueueState& state) {
    queue.assign(state.messages.begin(), state.messages.end());
    for (MSG& m : queue) m.hwnd = GameWindow();
    timer = Timer{state.timerActive, GameWindow(), state.timerId, state.timerPeriod ? state.timerPeriod : 1,
                  state.timerNextDue};
    quitPending = state.quitPending;
    quitCode = state.quitCode;
}

uint64_t PostedCount() { return postedCount; }

std::vector<MSG> NewestMessages(uint64_t count) {
    const size_t first = queue.size() >= count ? queue.size() - size_t(count) : 0;
    return std::vector<MSG>(queue.begin() + std::ptrdiff_t(first), queue.end());
}
