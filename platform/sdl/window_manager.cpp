// Asking the X server whether a window manager runs, through SDL's copy of the X library.
#include "platform/sdl/window_manager.h"
#include <SDL_syswm.h>
#include "platform/sdl/display_wait.h"

bool WindowManagerRuns(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    auto getAttributes = reinterpret_cast<decltype(&XGetWindowAttributes)>(FindInSdlsX11("XGetWindowAttributes"));
    if (!getAttributes) return true;
    // A window manager is the one client that redirects the root window's children: their
    // requests to be shown, moved and sized go to it. A manager gone leaves no trace here.
    Display* display = info.info.x11.display;
    XWindowAttributes root{};
    if (!getAttributes(display, DefaultRootWindow(display), &root)) return true;
    return (root.all_event_masks & SubstructureRedirectMask) != 0;
}
