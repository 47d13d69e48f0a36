// The SDL calls of the wave-out device in a program linked with SDL: SDL's own functions.
#include "platform/sdl/sdl_audio_calls.h"

const SdlAudioCalls* SdlAudio(std::string&) {
    static const SdlAudioCalls calls{SDL_InitSubSystem,     SDL_GetError,         SDL_OpenAudioDevice,
                                     SDL_CloseAudioDevice,  SDL_PauseAudioDevice, SDL_LockAudioDevice,
                                     SDL_UnlockAudioDevice, SDL_SetThreadPriority};
    return &calls;
}
