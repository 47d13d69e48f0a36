// The desktop's key map in the browser: arrows, W A S D and 2 4 6 8 (top row or keypad)
// steer, Enter or Space acts, Escape goes back (or pauses), F10 or P pauses, F6 or + and
// F7 or - set the volume. The page does not scroll or act on a key the game takes.
// The page's own controls (touch, gamepads) press the same keys through Module.glimmoKey.
#include "platform/web/web_keys.h"
#include <emscripten.h>
#include <emscripten/html5.h>
#include <cstdint>
#include <map>
#include "platform/key_holds.h"
#include "platform/keys.h"
#include "platform/play_state.h"
#include "platform/win_types.h"

namespace {
void (*keyArrived)() = nullptr;
// Keys that hold the same game key (an arrow and its letter): down with the first, up with
// the last; the browser's auto-repeat of a held key is no new press.
KeyHolds holds([](int vk, bool down) { KeyEvent(vk, down); });

// Each place on the keyboard, and each control of the page, is one control of the holds.
uint64_t Control(const std::string& code) {
    static std::map<std::string, uint64_t> numbers;
    return numbers.emplace(code, numbers.size()).first->second;
}

// A control (a place on the keyboard, a touch control, a gamepad's button) goes down or
// up as the key `code` names. The back key means what the moment calls for; on the title
// it does nothing, as there is nothing behind the title in a page.
void Change(const std::string& control, int vk, bool down) {
    if (down) {
        if (vk == VK_ESCAPE) {
            const PlayState state = CurrentPlayState();
            if (state.onTitle) return;
            vk = EscapeKey(state);
        }
        holds.Press(Control(control), vk);
    } else {
        holds.Release(Control(control));
    }
    if (keyArrived) keyArrived();
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
    const std::string code = event->code, key = event->key;
    // The browser's own keys stay the browser's (reload, its tools, switching tabs).
    if (event->ctrlKey || event->metaKey || event->altKey) return EM_FALSE;
    int vk = WebGameKey(code, key);
    if (!vk) return EM_FALSE;
    Change(code, vk, type == EMSCRIPTEN_EVENT_KEYDOWN);
    return EM_TRUE;
}

// clang-format off
// Module.glimmoKey(control, code, down): the page's controls press keys by the code of the
// keyboard's key they stand for ("ArrowUp", "Enter", "Escape", "F10", "F6", "F7"); each
// control has a name of its own ("swipe", "pad0.12"), so that it holds its key apart
// from the keyboard's. A code the game does not take is nothing.
EM_JS(void, web_offer_page_keys, (), {
    Module.glimmoKey = (control, code, down) => {
        const c = allocateUTF8(String(control)), k = allocateUTF8(String(code));
        _glimmo_page_key(c, k, down ? 1 : 0);
        _free(c);
        _free(k);
    };
});
// clang-format on
}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void glimmo_page_key(const char* control, const char* code, int down) {
    if (int vk = WebGameKey(code, "")) Change(std::string("page.") + control, vk, down != 0);
}

int WebGameKey(const std::string& code, const std::string& key) {
    // By where the key sits, as the desktop takes W A S D and the digits.
    static const std::map<std::string, int> byCode = {
        {"ArrowUp", VK_UP},
        {"ArrowDown", VK_DOWN},
        {"ArrowLeft", VK_LEFT},
        {"ArrowRight", VK_RIGHT},
        {"KeyW", VK_UP},
        {"KeyA", VK_LEFT},
        {"KeyS", VK_DOWN},
        {"KeyD", VK_RIGHT},
        {"Digit2", '2'},
        {"Numpad2", '2'},
        {"Digit4", '4'},
        {"Numpad4", '4'},
        {"Digit6", '6'},
        {"Numpad6", '6'},
        {"Digit8", '8'},
        {"Numpad8", '8'},
        {"Enter", VK_RETURN},
        {"NumpadEnter", VK_RETURN},
        {"Space", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"F10", VK_F10},
        {"F6", VK_F6},
        {"F7", VK_F7},
        {"NumpadAdd", VK_F6},
        {"NumpadSubtract", VK_F7},
    };
    // By what the key types, as the desktop takes P, + and -; "=" is the unshifted face of "+".
    static const std::map<std::string, int> byKey = {
        {"p", VK_F10}, {"P", VK_F10}, {"+", VK_F6}, {"=", VK_F6}, {"-", VK_F7},
    };
    if (auto it = byCode.find(code); it != byCode.end()) return it->second;
    if (auto it = byKey.find(key); it != byKey.end()) return it->second;
    return 0;
}

void ListenToWebKeys(void (*arrived)()) {
    keyArrived = arrived;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
    web_offer_page_keys();
}

void ReleaseWebKeys() { holds.ReleaseRange(0, UINT64_MAX); }
