// The gamepad map and the left stick's dead zone with hysteresis.
#include "platform/sdl/pad_map.h"
#include <SDL_gamecontroller.h>
#include "platform/win_types.h"

int VirtualKeyForPadButton(int button) {
    switch (button) {
        // clang-format off: one button a line
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return VK_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return VK_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return VK_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return VK_RIGHT;
        case SDL_CONTROLLER_BUTTON_A: return VK_RETURN;
        case SDL_CONTROLLER_BUTTON_START: return VK_F10;
        case SDL_CONTROLLER_BUTTON_BACK: return VK_ESCAPE;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return VK_F6;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return VK_F7;
        default: return 0;
    }
    // clang-format on
}

int OtherShoulder(int button) {
    if (button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER) return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    if (button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
    return -1;
}

bool IsBackButton(int button) { return button == SDL_CONTROLLER_BUTTON_BACK; }

int StickDirection(int current, int value) {
    if (current > 0 && value >= kStickRelease) return 1;
    if (current < 0 && value <= -kStickRelease) return -1;
    if (value >= kStickPress) return 1;
    if (value <= -kStickPress) return -1;
    return 0;
}

int VirtualKeyForStick(bool yAxis, int direction) {
    if (direction == 0) return 0;
    if (yAxis) return direction < 0 ? VK_UP : VK_DOWN;
    return direction < 0 ? VK_LEFT : VK_RIGHT;
}

int PadButtonByName(const char* name) { return SDL_GameControllerGetButtonFromString(name); }
