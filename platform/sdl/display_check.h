// Whether the video driver SDL settled on shows anything. With no X server or Wayland,
// SDL falls back to drivers that draw nowhere; that counts as no display unless the
// player (or a test) asked for one of them by name.
#pragma once
#include <string>

// driver: SDL's current video driver; requested: SDL_VIDEODRIVER as set ("" if unset,
// possibly a comma-separated list).
bool DriverShowsAWindow(const std::string& driver, const std::string& requested);
