// The key-state table behind GetAsyncKeyState, fed by the backends' key events.
// A held key sends one WM_KEYDOWN: the desktop's auto-repeat never reaches the game.
#include "platform/keys.h"
#include <array>
#include <cstddef>
#include "platform/messages.h"
#include "platform/window.h"

namespace {
struct KeyState {
    bool down = false;
    bool pressedSinceQuery = false;
};
std::array<KeyState, 256> keys;
}  // namespace

int16_t GetAsyncKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    KeyState& k = keys[size_t(vk)];
    int16_t result = int16_t((k.down ? 0x8000 : 0) | (k.pressedSinceQuery ? 1 : 0));
    k.pressedSinceQuery = false;
    return result;
}

void KeyEvent(int vk, bool down) {
    if (vk < 0 || vk > 255) return;
    KeyState& k = keys[size_t(vk)];
    if (down == k.down) return;
    k.down = down;
    if (down) k.pressedSinceQuery = true;
    PostMessageW(GameWindow(), down ? WM_KEYDOWN : WM_KEYUP, WPARAM(vk), 0);
}

void ResetKeyStates() { keys = {}; }

KeyTable SaveKeyStates() {
    KeyTable table{};
    for (size_t vk = 0; vk < keys.size(); ++vk)
        table[vk] = uint8_t((keys[vk].down ? KeyDownBit : 0) | (keys[vk].pressedSinceQuery ? KeyPressedBit : 0));
    return table;
}

void RestoreKeyStates(const KeyTable& table) {
    for (size_t vk = 0; vk < keys.size(); ++vk)
        keys[vk] = KeyState{(table[vk] & KeyDownBit) != 0, (table[vk] & KeyPressedBit) != 0};
}
