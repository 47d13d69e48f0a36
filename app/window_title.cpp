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
    WCHAR name[100] = {};
    LoadStringW(AppInstance, 1, name, 100);
    bool volumeShown = VolumeKeyActed == 1 && GetTickCount() - VolumeKeyTick < VolumeTitleMs;
    std::wstring title = WindowTitleText(name, Paused == 1, volumeShown, Sound);
    WCHAR now[200] = {};
    GetWindowTextW(window, now, 200);
    if (title != now) SetWindowTextW(window, title.c_str());
}
