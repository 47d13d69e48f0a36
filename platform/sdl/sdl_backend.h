// The SDL backend: a real window, keyboard and gamepads, a monotonic clock, the frame
// memory shown through a streaming texture, and the single-instance socket.
#pragma once
#include <memory>
#include <string>
#include "platform/backend.h"

struct SdlOptions {
    int scale = 0;            // the window's whole-number scale; 0 = the largest that fits
    bool fullscreen = false;  // start in desktop full screen
};

// Null when there is no display to open (no X server or Wayland, or SDL_VIDEODRIVER names
// one that does not work); *error then holds a one-line reason.
std::unique_ptr<Backend> MakeSdlBackend(const SdlOptions& options, std::string* error);
