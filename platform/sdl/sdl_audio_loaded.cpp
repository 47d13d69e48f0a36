// The SDL calls of the wave-out device in a program that does not link SDL (glimmo-modplay):
// the library is loaded the first time the device is asked for, and kept to the end.
#include <dlfcn.h>
#include "platform/sdl/sdl_audio_calls.h"

namespace {
template <typename Function>
bool Find(void* library, const char* name, Function& function, std::string& why) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function) why = std::string("the SDL library has no ") + name;
    return function != nullptr;
}
}  // namespace

const SdlAudioCalls* SdlAudio(std::string& why) {
    static SdlAudioCalls calls{};
    static std::string problem;
    static bool tried = false;
    static bool loaded = false;
    if (!tried) {
        tried = true;
        void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* error = dlerror();
            problem = std::string("the SDL library could not be loaded: ") + (error ? error : "libSDL2-2.0.so.0");
        } else {
            loaded = Find(library, "SDL_InitSubSystem", calls.InitSubSystem, problem) &&
                     Find(library, "SDL_GetError", calls.GetError, problem) &&
                     Find(library, "SDL_OpenAudioDevice", calls.OpenAudioDevice, problem) &&
                     Find(library, "SDL_CloseAudioDevice", calls.CloseAudioDevice, problem) &&
                     Find(library, "SDL_PauseAudioDevice", calls.PauseAudioDevice, problem) &&
                     Find(library, "SDL_LockAudioDevice", calls.LockAudioDevice, problem) &&
                     Find(library, "SDL_UnlockAudioDevice", calls.UnlockAudioDevice, problem) &&
                     Find(library, "SDL_SetThreadPriority", calls.SetThreadPriority, problem);
        }
    }
    if (!loaded) why = problem;
    return loaded ? &calls : nullptr;
}
