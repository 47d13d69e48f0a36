// SDL initialised and shut down, nothing more (the sound library kept quiet, as the game does).
#include "tests/support/sdl/sdl_probe.h"
#include <SDL.h>
#include "platform/sdl/quiet_alsa.h"

bool InitAndQuitSdl() {
    QuietAlsa quiet;
    bool ok = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) == 0;
    SDL_Quit();
    return ok;
}
