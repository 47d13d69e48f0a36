// The desktop key map: every key the game knows, the window's own commands, and keys
// that must stay silent.
#include "platform/sdl/key_map.h"
#include <gtest/gtest.h>
#include "platform/win_types.h"

namespace {
KeyMapping Key(const char* keyName, const char* scanName = nullptr, bool alt = false) {
    return MapDesktopKey(KeycodeByName(keyName), ScancodeByName(scanName ? scanName : keyName), alt);
}

int Vk(const char* keyName) {
    KeyMapping m = Key(keyName);
    return m.action == KeyAction::GameKey ? m.vk : -1;
}
}  // namespace

TEST(KeyMap, EveryGameKey) {
    // clang-format off: keys grouped as on the keyboard
    struct Case {
        const char* key;
        int vk;
    } cases[] = {
        {"Up", VK_UP},
        {"Down", VK_DOWN},
        {"Left", VK_LEFT},
        {"Right", VK_RIGHT},
        {"W", VK_UP},
        {"A", VK_LEFT},
        {"S", VK_DOWN},
        {"D", VK_RIGHT},
        {"2", '2'},
        {"4", '4'},
        {"6", '6'},
        {"8", '8'},
        {"Keypad 2", '2'},
        {"Keypad 4", '4'},
        {"Keypad 6", '6'},
        {"Keypad 8", '8'},
        {"Return", VK_RETURN},
        {"Keypad Enter", VK_RETURN},
        {"Space", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"F10", VK_F10},
        {"P", VK_F10},
        {"F6", VK_F6},
        {"+", VK_F6},
        {"Keypad +", VK_F6},
        {"=", VK_F6},
        {"F7", VK_F7},
        {"-", VK_F7},
        {"Keypad -", VK_F7},
    };
    // clang-format on
    for (const Case& c : cases) {
        ASSERT_NE(KeycodeByName(c.key), 0) << c.key;
        EXPECT_EQ(Vk(c.key), c.vk) << c.key;
    }
}

TEST(KeyMap, TopRowDigitsAndWasdGoByPosition) {
    // A layout whose top row gives other characters unshifted still steers with it.
    KeyMapping m = MapDesktopKey(KeycodeByName("&"), ScancodeByName("8"), false);
    EXPECT_EQ(m.action, KeyAction::GameKey);
    EXPECT_EQ(m.vk, '8');
    // On a French board the same four keys are Z Q S D; its A sits where W is elsewhere.
    EXPECT_EQ(MapDesktopKey(KeycodeByName("Z"), ScancodeByName("W"), false).vk, VK_UP);
    EXPECT_EQ(MapDesktopKey(KeycodeByName("Q"), ScancodeByName("A"), false).vk, VK_LEFT);
    EXPECT_EQ(MapDesktopKey(KeycodeByName("A"), ScancodeByName("Q"), false).action, KeyAction::None);
}

TEST(KeyMap, WindowCommands) {
    EXPECT_EQ(Key("F11").action, KeyAction::ToggleFullScreen);
    EXPECT_EQ(Key("Return", nullptr, true).action, KeyAction::ToggleFullScreen);
    EXPECT_EQ(Key("Keypad Enter", nullptr, true).action, KeyAction::ToggleFullScreen);
    EXPECT_EQ(Key("F12").action, KeyAction::Screenshot);
    // Alt with any other key is the key itself.
    KeyMapping up = Key("Up", nullptr, true);
    EXPECT_EQ(up.action, KeyAction::GameKey);
    EXPECT_EQ(up.vk, VK_UP);
}

TEST(KeyMap, OtherKeysDoNothing) {
    for (const char* name : {"Q", "E", "1", "3", "5", "7", "9", "0", "Keypad 5", "F1", "F5", "F8", "F9", "Tab"})
        EXPECT_EQ(Key(name).action, KeyAction::None) << name;
}
