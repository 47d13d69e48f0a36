// The message queue of the game's thread, its timer, and dispatch to the window procedure.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/win_types.h"

BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last);
BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
UINT SetTimer(HWND window, UINT id, UINT periodMs, void* callback);
BOOL KillTimer(HWND window, UINT id);

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// True when GetMessageW would hand out a message at the tick `now` without waiting: one
// is queued, a quit is asked, or the timer is due. A backend that puts off the real time a
// sleep owes waits for it only then.
bool MessageWaiting(uint32_t now);

// Forget the queue, the timer and the quit flag (a new run, or a test).
void ResetMessageQueue();

// The queue, the timer and the quit flag as they stand: a recorded game keeps them from
// the pass it began in, and its replay puts them back before that pass.
struct QueueState {
    std::vector<MSG> messages;  // oldest first; all are for the game window
    bool timerActive = false;
    UINT timerId = 0;
    uint32_t timerPeriod = 0;
    uint32_t timerNextDue = 0;  // the next grid point not yet handed out
    bool quitPending = false;
    int quitCode = 0;
};
QueueState SaveQueueState();
void RestoreQueueState(const QueueState& state);
// How many messages have been posted since the program began: what the newest ones are
// tells a recorder what the outside world brought in a backend call.
uint64_t PostedCount();
// The newest `count` messages of the queue, oldest first (all of them when fewer wait).
std::vector<MSG> NewestMessages(uint64_t count);
