// The SDL backend: a real window, keyboard and gamepads, a monotonic clock, the frame
// memory shown through a streaming texture, and the single-instance socket.
#pragma once
#include <memory>
#include <string>
#include "platform/backend.h"

// What the command line says of the window; what it leaves open, the window's settings
// (window_settings.h) decide.
struct SdlOptions {
    int scale = 0;            // the window's whole-number scale; 0 = as kept, else the largest that fits
    bool fullscreen = false;  // start in desktop full screen
    bool windowed = false;    // start in a window, whatever was kept
    // The window reads its own settings (window_settings.h) when it is made, and keeps
    // them when it goes: the game played in it, not a replay watched or a test's window.
    bool windowSettings = false;
};

// Null when there is no display to open (no X server or Wayland, or SDL_VIDEODRIVER names
// one that does not work); *error then holds a one-line reason.
std::unique_ptr<Backend> MakeSdlBackend(const SdlOptions& options, std::string* error);
