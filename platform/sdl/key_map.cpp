// The desktop key map: arrows, W A S D and 2/4/6/8 steer, Return or Space acts, Escape
// goes back (or pauses, see play_state.h), F10 or P pauses, F6/+ and F7/- set the volume;
// F11, Alt+Enter and F12 are the window's.
#include "platform/sdl/key_map.h"
#include <SDL_keyboard.h>
#include "platform/win_types.h"

namespace {
int GameKeyForKeycode(int32_t keycode) {
    switch (keycode) {
        // clang-format off: one key a line
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_2:
        case SDLK_KP_2: return '2';
        case SDLK_4:
        case SDLK_KP_4: return '4';
        case SDLK_6:
        case SDLK_KP_6: return '6';
        case SDLK_8:
        case SDLK_KP_8: return '8';
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER:
        case SDLK_SPACE: return VK_RETURN;
        case SDLK_ESCAPE:
        case SDLK_AC_BACK: return VK_ESCAPE;
        case SDLK_F10:
        case SDLK_p: return VK_F10;
        // "=" is the unshifted face of "+" on many layouts.
        case SDLK_F6:
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS: return VK_F6;
        case SDLK_F7:
        case SDLK_MINUS:
        case SDLK_KP_MINUS: return VK_F7;
        default: return 0;
    }
    // clang-format on
}

// W A S D go by where they sit (Z Q S D on a French board), like the top-row digits.
int GameKeyForScancode(int32_t scancode) {
    switch (scancode) {
        // clang-format off: one key a line
        case SDL_SCANCODE_W: return VK_UP;
        case SDL_SCANCODE_A: return VK_LEFT;
        case SDL_SCANCODE_S: return VK_DOWN;
        case SDL_SCANCODE_D: return VK_RIGHT;
        case SDL_SCANCODE_2:
        case SDL_SCANCODE_KP_2: return '2';
        case SDL_SCANCODE_4:
        case SDL_SCANCODE_KP_4: return '4';
        case SDL_SCANCODE_6:
        case SDL_SCANCODE_KP_6: return '6';
        case SDL_SCANCODE_8:
        case SDL_SCANCODE_KP_8: return '8';
        default: return 0;
    }
    // clang-format on
}
}  // namespace

KeyMapping MapDesktopKey(int32_t keycode, int32_t scancode, bool altHeld) {
    if (keycode == SDLK_F11) return {KeyAction::ToggleFullScreen, 0};
    if (altHeld && (keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER)) return {KeyAction::ToggleFullScreen, 0};
    if (keycode == SDLK_F12) return {KeyAction::Screenshot, 0};
    int vk = GameKeyForKeycode(keycode);
    if (!vk) vk = GameKeyForScancode(scancode);
    if (!vk) return {};
    return {KeyAction::GameKey, vk};
}

int32_t KeycodeByName(const char* name) { return SDL_GetKeyFromName(name); }
int32_t ScancodeByName(const char* name) { return SDL_GetScancodeFromName(name); }
