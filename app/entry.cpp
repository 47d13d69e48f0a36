// Start-up and the message loop: one message, the volume keys, exactly one frame of
// the current screen, then a sleep so that in-game frames start 12 ms apart.
#include "entry.h"
#include "game_frame.h"
#include "gfx/display_access.h"
#include "loop_hooks.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "screens.h"
#include "settings.h"
#include "sound/sample.h"
#include "sound/sound_system.h"
#include "window_proc.h"

HINSTANCE AppInstance = nullptr;
uint32_t FrameStartTick = 0;

namespace {
const WCHAR ClassName[] = L"GlimmoMainWindow";
WCHAR Title[100];

struct SlotResource {
    int slot;
    unsigned resource;
    bool looped;
};
constexpr SlotResource SampleResources[] = {
    {0, 119, false}, {1, 120, true}, {2, 121, false}, {3, 122, false}, {4, 123, false},
    {5, 124, false}, {6, 125, true}, {7, 126, true},  {8, 128, false}, {9, 133, true},
    {10, 134, true}, {11, 135, true}, {12, 136, true}, {13, 137, true},
};
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

void LoadGameSamples(HINSTANCE instance) {
    for (const SlotResource& s : SampleResources) {
        GameSamples[s.slot].LoadFromResource(instance, uint16_t(s.resource));
        if (s.looped) GameSamples[s.slot].SetLoop(true);
    }
}

void ApplyVolumeKeys() {
    if (GetAsyncKeyState(VK_F6) != 0) {
        VolumeCounter = VolumeCounter + 1 < 320 ? VolumeCounter + 1 : 320;
        Sound = VolumeCounter / 5;
        Mixer.SetSampleMasterVolume(Sound);
    }
    if (GetAsyncKeyState(VK_F7) != 0) {
        VolumeCounter = VolumeCounter - 1 > 0 ? VolumeCounter - 1 : 0;
        Sound = VolumeCounter / 5;
        Mixer.SetSampleMasterVolume(Sound);
    }
}

// Elapsed is counted from the start of the last in-game frame and raised to 1. Before
// the first in-game frame the start is 0, which means none: the title then sleeps 1 ms
// whatever the tick count, instead of reading a clock past 2^31 as a frame just begun.
uint32_t PacingSleep(uint32_t now, uint32_t frameStart) {
    if (frameStart == 0) return 1;
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
        uint32_t frameTick = GetTickCount();
        FrameKind kind = Paused == 1 ? FrameKind::Pause : GamePhase == PhaseTitle ? FrameKind::Title : FrameKind::Game;
        switch (kind) {
        case FrameKind::Pause: PauseFrame(); break;
        case FrameKind::Title: TitleFrame(); break;
        case FrameKind::Game: GameFrame(); break;
        }
        if (hooks.afterFrame && !hooks.afterFrame(msg, frameTick, kind)) break;
        Sleep(PacingSleep(GetTickCount(), FrameStartTick));
    }
    CloseDisplay();
    return int(msg.message == WM_QUIT ? msg.wParam : 0);
}
