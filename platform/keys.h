// Key states for polling, and the entry by which backends report key changes.
#pragma once
#include <array>
#include <cstdint>

// High bit while the key is down; low bit when it went down since the last query.
int16_t GetAsyncKeyState(int vk);

// Backends call this for every key change; it keeps the state table and posts
// WM_KEYDOWN (once per press, never auto-repeated) and WM_KEYUP to the game window.
void KeyEvent(int vk, bool down);
// Forget every key (a new run, or a test).
void ResetKeyStates();

// The whole table as it stands, one byte a key: KeyDownBit while down, KeyPressedBit when it
// went down since the last query. A recorded game keeps it; its replay puts it back.
constexpr uint8_t KeyDownBit = 1;
constexpr uint8_t KeyPressedBit = 2;
using KeyTable = std::array<uint8_t, 256>;
KeyTable SaveKeyStates();
void RestoreKeyStates(const KeyTable& table);
