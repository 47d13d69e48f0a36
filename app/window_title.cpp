// The window's title of the moment, from the pause flag and the volume keys.
#include "app/window_title.h"
#include "app/entry.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "game/game_sounds.h"
#include "platform/clock.h"
#include "platform/resources.h"
#include "platform/window.h"

std::wstring WindowTitleText(const std::wstring& name, bool paused, bool volumeShown, int32_t volume) {
    if (volumeShown) return name + L" \u00B7 volume " + std::to_wstring(volume) + L" of 64";
    if (paused) return name + L" \u00B7 paused \u00B7 P resumes \u00B7 Esc quits";
    return name;
}

void UpdateWindowTitle() {
    HWND window = GameWindow();
    if (!window) return;
    // The string table does not change while the program runs.
    static const std::wstring name = [] {
        WCHAR text[100] = {};
        LoadStringW(AppInstance, 1, text, 100);
        return std::wstring(text);
    }();
    bool paused = Paused == 1;
    bool volumeShown = VolumeKeyActed == 1 && GetTickCount() - VolumeKeyTick < VolumeTitleMs;
    WCHAR now[200] = {};
    GetWindowTextW(window, now, 200);
    // Nearly every pass finds the name alone there already: nothing to build.
    if (!paused && !volumeShown && name == now) return;
    std::wstring title = WindowTitleText(name, paused, volumeShown, Sound);
    if (title != now) SetWindowTextW(window, title.c_str());
}
