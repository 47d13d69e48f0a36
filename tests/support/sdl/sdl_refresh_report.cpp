// SDL's own report of the current display mode, with the refresh rate changed: the
// program's calls come here first, and this passes them on to the SDL library.
#include "tests/support/sdl/sdl_refresh_report.h"
#include <SDL.h>
#include <dlfcn.h>
#include <atomic>

namespace {
std::atomic<int> reportedHz{0};
}  // namespace

void ReportRefreshRate(int hz) { reportedHz = hz; }

int SDL_GetCurrentDisplayMode(int displayIndex, SDL_DisplayMode* mode) {
    using Real = int (*)(int, SDL_DisplayMode*);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_GetCurrentDisplayMode"));
    const int result = real ? real(displayIndex, mode) : -1;
    if (result == 0 && reportedHz > 0) mode->refresh_rate = reportedHz;
    return result;
}
