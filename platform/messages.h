// The message queue of the game's thread, its timer, and dispatch to the window procedure.
#pragma once
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

// Forget the queue, the timer and the quit flag (a new run, or a test).
void ResetMessageQueue();
