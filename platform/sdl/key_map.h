// Which desktop keys stand for the handset's keys, and which ones are the window's own
// commands (full screen, screenshot, help card, mute). SDL key and scan codes in, a
// virtual key out; the player may bind other keys to any of them in the settings file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/hints.h"

enum class KeyAction { None, GameKey, ToggleFullScreen, Screenshot, Help, Mute };

struct KeyMapping {
    KeyAction action = KeyAction::None;
    int vk = 0;  // for GameKey
    Control control = Control::Up;
};

class KeyBindings {
public:
    KeyBindings();  // arrows, W A S D and 2/4/6/8 steer, Return or Space acts, ...
    // Gives a control the keys named in value ("I, Keypad 8": SDL's key names, comma
    // separated) instead of its own, taking them from other controls. False, with a
    // reason, when a name is no key or another control would be left without a key:
    // the binding is then not made.
    bool Bind(Control control, const std::string& value, std::string* why);
    KeyMapping Map(int32_t keycode, int32_t scancode, bool altHeld) const;
    // The control's keys as the help card names them: "UP, W, 8".
    std::string Names(Control control) const;

private:
    struct Entry {
        int32_t code;  // a key code, or a scan code where the key goes by position
        bool byPosition;
        Control control;
        int vk;             // the virtual key it sends (GameKey controls)
        const char* label;  // its name on the help card; "" for another face of a named key
        std::string bound;  // the player's own: its name
    };
    std::vector<Entry> entries_;
};

// keycode: the key as the layout names it; scancode: where it sits on the board
// (the top-row digits and W A S D go by position, so they work on layouts that move them).
KeyMapping MapDesktopKey(int32_t keycode, int32_t scancode, bool altHeld);

// SDL's own names of keys ("Up", "Keypad 8", "="): 0 when the name is unknown.
int32_t KeycodeByName(const char* name);
int32_t ScancodeByName(const char* name);
