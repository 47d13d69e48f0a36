// SDL initialised and shut down, nothing more.
#include "platform/sdl/sdl_probe.h"
#include <SDL.h>

bool InitAndQuitSdl() {
    bool ok = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) == 0;
    SDL_Quit();
    return ok;
}
