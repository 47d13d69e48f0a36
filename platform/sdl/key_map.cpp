// The desktop key map: arrows, W A S D and 2/4/6/8 steer, Return or Space acts, Escape
// goes back (or pauses, see play_state.h), F10 or P pauses, F6/+ and F7/- set the volume;
// F11, Alt+Enter, F12, F1 and M are the window's. Bindings from the settings file replace
// a control's keys.
#include "platform/sdl/key_map.h"
#include <SDL_keyboard.h>
#include <algorithm>
#include <cctype>
#include "platform/win_types.h"

namespace {

int VkOf(Control control) {
    switch (control) {
        // clang-format off: one control a line
        case Control::Up: return VK_UP;
        case Control::Down: return VK_DOWN;
        case Control::Left: return VK_LEFT;
        case Control::Right: return VK_RIGHT;
        case Control::Action: return VK_RETURN;
        case Control::Pause: return VK_F10;
        case Control::Back: return VK_ESCAPE;
        case Control::Louder: return VK_F6;
        case Control::Quieter: return VK_F7;
        default: return 0;
    }
    // clang-format on
}

KeyAction ActionOf(Control control) {
    switch (control) {
        case Control::Help: return KeyAction::Help;
        case Control::Mute: return KeyAction::Mute;
        case Control::FullScreen: return KeyAction::ToggleFullScreen;
        case Control::Screenshot: return KeyAction::Screenshot;
        default: return KeyAction::GameKey;
    }
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

KeyBindings::KeyBindings() {
    using C = Control;
    // W A S D and the top-row digits go by where they sit (Z Q S D on a French board).
    entries_ = {
        // clang-format off: one key a line
        {SDLK_UP, false, C::Up, VK_UP, "UP", {}},
        {SDL_SCANCODE_W, true, C::Up, VK_UP, "W", {}},
        {SDLK_8, false, C::Up, '8', "8", {}},
        {SDLK_KP_8, false, C::Up, '8', "", {}},
        {SDL_SCANCODE_8, true, C::Up, '8', "", {}},
        {SDLK_DOWN, false, C::Down, VK_DOWN, "DOWN", {}},
        {SDL_SCANCODE_S, true, C::Down, VK_DOWN, "S", {}},
        {SDLK_2, false, C::Down, '2', "2", {}},
        {SDLK_KP_2, false, C::Down, '2', "", {}},
        {SDL_SCANCODE_2, true, C::Down, '2', "", {}},
        {SDLK_LEFT, false, C::Left, VK_LEFT, "LEFT", {}},
        {SDL_SCANCODE_A, true, C::Left, VK_LEFT, "A", {}},
        {SDLK_4, false, C::Left, '4', "4", {}},
        {SDLK_KP_4, false, C::Left, '4', "", {}},
        {SDL_SCANCODE_4, true, C::Left, '4', "", {}},
        {SDLK_RIGHT, false, C::Right, VK_RIGHT, "RIGHT", {}},
        {SDL_SCANCODE_D, true, C::Right, VK_RIGHT, "D", {}},
        {SDLK_6, false, C::Right, '6', "6", {}},
        {SDLK_KP_6, false, C::Right, '6', "", {}},
        {SDL_SCANCODE_6, true, C::Right, '6', "", {}},
        {SDLK_RETURN, false, C::Action, VK_RETURN, "ENTER", {}},
        {SDLK_RETURN2, false, C::Action, VK_RETURN, "", {}},
        {SDLK_KP_ENTER, false, C::Action, VK_RETURN, "", {}},
        {SDLK_SPACE, false, C::Action, VK_RETURN, "SPACE", {}},
        {SDLK_p, false, C::Pause, VK_F10, "P", {}},
        {SDLK_F10, false, C::Pause, VK_F10, "F10", {}},
        {SDLK_ESCAPE, false, C::Back, VK_ESCAPE, "ESC", {}},
        {SDLK_AC_BACK, false, C::Back, VK_ESCAPE, "", {}},
        // "=" is the unshifted face of "+" on many layouts.
        {SDLK_F6, false, C::Louder, VK_F6, "F6", {}},
        {SDLK_PLUS, false, C::Louder, VK_F6, "+", {}},
        {SDLK_KP_PLUS, false, C::Louder, VK_F6, "", {}},
        {SDLK_EQUALS, false, C::Louder, VK_F6, "", {}},
        {SDLK_F7, false, C::Quieter, VK_F7, "F7", {}},
        {SDLK_MINUS, false, C::Quieter, VK_F7, "-", {}},
        {SDLK_KP_MINUS, false, C::Quieter, VK_F7, "", {}},
        {SDLK_m, false, C::Mute, 0, "M", {}},
        {SDLK_F1, false, C::Help, 0, "F1", {}},
        {SDLK_F11, false, C::FullScreen, 0, "F11", {}},
        {SDLK_F12, false, C::Screenshot, 0, "F12", {}},
        // clang-format on
    };
}

bool KeyBindings::Bind(Control control, const std::string& value, std::string* why) {
    std::vector<int32_t> keys;
    size_t at = 0;
    while (at <= value.size()) {
        size_t comma = value.find(',', at);
        std::string name = Trim(value.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        at = comma == std::string::npos ? value.size() + 1 : comma + 1;
        if (name.empty()) continue;
        int32_t key = KeycodeByName(name.c_str());
        if (key == SDLK_UNKNOWN) {
            *why = "\"" + name + "\" is not a key";
            return false;
        }
        keys.push_back(key);
    }
    if (keys.empty()) {
        *why = "it names no key";
        return false;
    }
    // The keys leave whatever they did before; the control's own keys go.
    std::vector<Entry> next;
    for (const Entry& e : entries_) {
        const int32_t key = e.byPosition ? SDL_GetKeyFromScancode(SDL_Scancode(e.code)) : e.code;
        if (e.control == control || std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        next.push_back(e);
    }
    for (int c = 0; c < kControlCount; ++c) {
        if (Control(c) == control) continue;
        // Another face of a named key (a keypad's Enter, a phone's back key) is not a key of its own.
        if (std::none_of(next.begin(), next.end(),
                         [c](const Entry& e) { return e.control == Control(c) && (*e.label || !e.bound.empty()); })) {
            *why = std::string("it would leave ") + ControlName(Control(c)) + " without a key";
            return false;
        }
    }
    // The player's keys come first: they win over a key that stands at a default's place.
    std::vector<Entry> bound;
    for (int32_t key : keys) bound.push_back({key, false, control, VkOf(control), "", Upper(SDL_GetKeyName(key))});
    next.insert(next.begin(), bound.begin(), bound.end());
    entries_ = std::move(next);
    return true;
}

KeyMapping KeyBindings::Map(int32_t keycode, int32_t scancode, bool altHeld) const {
    if (altHeld && (keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER))
        return {KeyAction::ToggleFullScreen, 0, Control::FullScreen};
    // A key by its name first, then by its place.
    for (bool byPosition : {false, true})
        for (const Entry& e : entries_)
            if (e.byPosition == byPosition && e.code == (byPosition ? scancode : keycode))
                return {ActionOf(e.control), e.vk, e.control};
    return {};
}

std::string KeyBindings::Names(Control control) const {
    std::string names;
    for (const Entry& e : entries_) {
        if (e.control != control) continue;
        std::string name = e.bound.empty() ? e.label : e.bound;
        if (name.empty()) continue;
        names += (names.empty() ? "" : ", ") + name;
    }
    if (control == Control::FullScreen) names += (names.empty() ? "" : ", ") + std::string("ALT+ENTER");
    return names;
}

KeyMapping MapDesktopKey(int32_t keycode, int32_t scancode, bool altHeld) {
    static const KeyBindings defaults;
    return defaults.Map(keycode, scancode, altHeld);
}

int32_t KeycodeByName(const char* name) { return SDL_GetKeyFromName(name); }
int32_t ScancodeByName(const char* name) { return SDL_GetScancodeFromName(name); }
