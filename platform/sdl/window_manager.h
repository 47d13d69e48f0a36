// Whether a window manager looks after the game's window. Without one (an X server alone,
// as in a cabinet or a kiosk) nobody answers a request for full screen: the game then
// covers the screen with the window itself.
#pragma once
#include <SDL.h>

// On X11, whether a client manages the root window's children; true anywhere else
// (Wayland's compositor is the window manager).
bool WindowManagerRuns(SDL_Window* window);
