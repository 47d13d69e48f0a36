// Start-up and the message loop: one message, the volume keys, exactly one frame of
// the current screen, then a sleep so that in-game frames start 12 ms apart.
#include "app/entry.h"
#include "app/loop_hooks.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/volume_keys.h"
#include "app/window_hints.h"
#include "app/window_proc.h"
#include "app/window_title.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "gfx/display_access.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "sound/sound_system.h"

HINSTANCE AppInstance = nullptr;

namespace {
const WCHAR ClassName[] = L"GlimmoMainWindow";
WCHAR Title[100];
}  // namespace

void RegisterWindowClass(HINSTANCE instance, const WCHAR* className) {
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    RegisterClassW(&wc);
}

bool InitInstance(HINSTANCE instance, int showCommand) {
    AppInstance = instance;
    LoadStringW(instance, 1, Title, 100);
    if (HWND other = FindWindowW(ClassName, Title)) {
        SetForegroundWindow(reinterpret_cast<HWND>(uintptr_t(other) | 1));
        return false;
    }
    RegisterWindowClass(instance, ClassName);
    HWND window = CreateWindowExW(0, ClassName, Title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    Mixer.Open(22050, 0, 16, true);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    OpenDisplay(window);
    LoadGameSamples(instance);
    Mixer.SetSampleMasterVolume(Sound);
    return true;
}

// Elapsed is counted from the start of the last in-game frame and raised to 1. Before
// the first in-game frame there is none: the title then sleeps 1 ms whatever the tick
// count, instead of reading a clock past 2^31 as a frame just begun.
uint32_t PacingSleep(uint32_t now, uint32_t frameStart, bool started) {
    if (!started) return 1;
    int32_t elapsed = int32_t(now - frameStart);
    if (elapsed < 1) elapsed = 1;
    return elapsed < 12 ? uint32_t(12 - elapsed) : 1;
}

int GameEntry(HINSTANCE instance, HINSTANCE, const WCHAR*, int showCommand) {
    if (!InitInstance(instance, showCommand)) return 0;
    MSG msg{};
    LoopHooks& hooks = CurrentLoopHooks();
    for (;;) {
        if (hooks.beforeMessage) hooks.beforeMessage();
        if (!GetMessageW(&msg, nullptr, 0, 0)) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ApplyVolumeKeys();
        UpdateWindowTitle();
        UpdateWindowHints();
        uint32_t frameTick = GetTickCount();
        FrameKind kind = Paused == 1 ? FrameKind::Pause : GamePhase == PhaseTitle ? FrameKind::Title : FrameKind::Game;
        switch (kind) {
            case FrameKind::Pause: PauseFrame(); break;
            case FrameKind::Title: TitleFrame(); break;
            case FrameKind::Game: GameFrame(); break;
        }
        if (hooks.afterFrame && !hooks.afterFrame(msg, frameTick, kind)) break;
        Sleep(PacingSleep(GetTickCount(), FrameStartTick, FrameStarted != 0));
    }
    CloseDisplay();
    return int(msg.message == WM_QUIT ? msg.wParam : 0);
}
