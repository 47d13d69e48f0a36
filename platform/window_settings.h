// The window's own settings, kept in the settings file beside the game's two (in a key of
// their own, so the game's values keep their names and meaning): full screen, the scale,
// the mute, and the player's key bindings, one value per control.
#pragma once
#include <string>
#include <utility>
#include <vector>
#include "platform/hints.h"

struct WindowSettings {
    bool fullScreen = false;
    int scale = 0;  // 0: none kept (the largest that fits)
    bool muted = false;
    std::vector<std::pair<Control, std::string>> keys;  // the controls given keys of the player's choice
};

// From the settings file as loaded; values that are missing or cannot be read are left
// at their defaults, a binding of a control that does not exist is said in one line.
WindowSettings LoadWindowSettings();
// Full screen, the scale and the mute; the bindings are the player's to write.
void SaveWindowSettings(const WindowSettings& settings);
