// The SDL calls the wave-out device makes, as a table. The game, which links SDL for its
// window anyway, fills it with SDL's own functions; glimmo-modplay loads SDL only once it
// plays on the device, so a render into a WAV file never loads SDL and its libraries.
#pragma once
#include <SDL.h>
#include <string>

struct SdlAudioCalls {
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_GetError) GetError;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_LockAudioDevice) LockAudioDevice;
    decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
    decltype(&SDL_SetThreadPriority) SetThreadPriority;
};

// The table; null when SDL cannot be had, with the reason in `why`.
const SdlAudioCalls* SdlAudio(std::string& why);
