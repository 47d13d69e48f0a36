// Which desktop keys stand for the handset's keys, and which ones are the window's own
// commands (full screen, screenshot). SDL key and scan codes in, a virtual key out.
#pragma once
#include <cstdint>

enum class KeyAction { None, GameKey, ToggleFullScreen, Screenshot };

struct KeyMapping {
    KeyAction action = KeyAction::None;
    int vk = 0;  // for GameKey
};

// keycode: the key as the layout names it; scancode: where it sits on the board
// (the top-row digits and W A S D go by position, so they work on layouts that move them).
KeyMapping MapDesktopKey(int32_t keycode, int32_t scancode, bool altHeld);

// SDL's own names of keys ("Up", "Keypad 8", "="): 0 when the name is unknown.
int32_t KeycodeByName(const char* name);
int32_t ScancodeByName(const char* name);
