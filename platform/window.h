// The one game window: class registration, creation, the single-instance lookup,
// and the few window calls the game makes. Messages go to the class's procedure.
#pragma once
#include "platform/win_types.h"

BOOL RegisterClassW(const WNDCLASSW* windowClass);
HWND CreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* title, DWORD style, int x, int y, int width,
                     int height, HWND parent, void* menu, HINSTANCE instance, void* param);
HWND FindWindowW(const WCHAR* className, const WCHAR* title);
BOOL SetForegroundWindow(HWND window);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL DestroyWindow(HWND window);
BOOL SetWindowTextW(HWND window, const WCHAR* text);
int GetWindowTextW(HWND window, WCHAR* text, int size);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL GetClientRect(HWND window, RECT* rect);
HICON LoadIconW(HINSTANCE instance, const WCHAR* name);
void* GetStockObject(int object);

// The game's window, once created (null before and after).
HWND GameWindow();
// Forget the class and the window (a new run, or a test).
void ResetWindowState();
