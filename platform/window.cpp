// The one game window and its class. Creation sends WM_CREATE through the class's
// procedure before returning, as the phone did; dispatch calls the same procedure.
#include "platform/window.h"
#include <algorithm>
#include <string>
#include "platform/backend.h"
#include "platform/messages.h"
#include "platform/path_bytes.h"

struct WindowObject {
    WNDPROC proc = nullptr;
    std::wstring title;
};

namespace {
bool classRegistered = false;
WNDCLASSW windowClass{};
std::wstring className;
WindowObject* gameWindow = nullptr;
WindowObject otherInstance;  // stands for the window of a copy already running
}  // namespace

BOOL RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    windowClass = *wc;
    className = wc->lpszClassName;
    classRegistered = true;
    return 1;
}

HWND CreateWindowExW(DWORD, const WCHAR* cls, const WCHAR* title, DWORD, int, int, int, int, HWND, void*, HINSTANCE,
                     void*) {
    if (!classRegistered || !cls || className != cls || gameWindow) return nullptr;
    auto* window = new WindowObject{windowClass.lpfnWndProc, title ? title : L""};
    if (!CurrentBackend().CreateGameWindow(BytesFromWide(window->title))) {
        delete window;
        return nullptr;
    }
    gameWindow = window;
    if (window->proc(window, WM_CREATE, 0, 0) == -1) {
        CurrentBackend().DestroyGameWindow();
        gameWindow = nullptr;
        delete window;
        return nullptr;
    }
    return window;
}

HWND FindWindowW(const WCHAR*, const WCHAR* title) {
    if (!HasBackend()) return nullptr;
    return CurrentBackend().OtherInstanceRunning(BytesFromWide(title ? title : L"")) ? &otherInstance : nullptr;
}

// The running copy was already asked to come forward when it was found.
BOOL SetForegroundWindow(HWND window) { return window != nullptr; }

BOOL ShowWindow(HWND window, int) {
    if (window != gameWindow || !window) return 0;
    CurrentBackend().ShowGameWindow();
    return 1;
}

BOOL UpdateWindow(HWND window) {
    if (window != gameWindow || !window) return 0;
    window->proc(window, WM_PAINT, 0, 0);
    return 1;
}

BOOL DestroyWindow(HWND window) {
    if (window != gameWindow || !window) return 0;
    window->proc(window, WM_DESTROY, 0, 0);
    CurrentBackend().DestroyGameWindow();
    gameWindow = nullptr;
    delete window;
    return 1;
}

BOOL SetWindowTextW(HWND window, const WCHAR* text) {
    if (window != gameWindow || !window) return 0;
    window->title = text ? text : L"";
    CurrentBackend().SetGameWindowTitle(BytesFromWide(window->title));
    return 1;
}

int GetWindowTextW(HWND window, WCHAR* text, int size) {
    if (!text || size <= 0) return 0;
    text[0] = 0;
    if (window != gameWindow || !window) return 0;
    int n = int(std::min<size_t>(window->title.size(), size_t(size - 1)));
    window->title.copy(text, size_t(n));
    text[n] = 0;
    return n;
}

BOOL MoveWindow(HWND window, int, int, int, int, BOOL) { return window == gameWindow && window ? 1 : 0; }

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window || window != gameWindow) return 0;
    return window->proc(window, message, wParam, lParam);
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

HDC BeginPaint(HWND, PAINTSTRUCT* paint) {
    if (paint) *paint = PAINTSTRUCT{};
    return nullptr;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return 1; }

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!rect || !window) return 0;
    GXDisplayProperties props = CurrentBackend().DisplayProperties();
    *rect = RECT{0, 0, LONG(props.cxWidth), LONG(props.cyHeight)};
    return 1;
}

HICON LoadIconW(HINSTANCE, const WCHAR* name) { return const_cast<WCHAR*>(name); }

void* GetStockObject(int object) { return reinterpret_cast<void*>(uintptr_t(object + 1)); }

HWND GameWindow() { return gameWindow; }

void ResetWindowState() {
    delete gameWindow;
    gameWindow = nullptr;
    classRegistered = false;
    className.clear();
}
