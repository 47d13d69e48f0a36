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
    EXPECT_EQ(Key("F1").action, KeyAction::Help);
    EXPECT_EQ(Key("M").action, KeyAction::Mute);
    // Alt with any other key is the key itself.
    KeyMapping up = Key("Up", nullptr, true);
    EXPECT_EQ(up.action, KeyAction::GameKey);
    EXPECT_EQ(up.vk, VK_UP);
}

TEST(KeyMap, OtherKeysDoNothing) {
    for (const char* name : {"Q", "E", "1", "3", "5", "7", "9", "0", "Keypad 5", "F5", "F8", "F9", "Tab"})
        EXPECT_EQ(Key(name).action, KeyAction::None) << name;
}

// The player's bindings: a control's keys replaced and named on the help card, keys taken
// from other controls; a binding that names no key or leaves a control keyless is refused.
TEST(KeyMap, BindingsFromTheSettings) {
    struct Case {
        Control control;
        const char* value;
        bool made;
        const char* names;  // of the control, after
    } cases[] = {
        {Control::Up, "I, Keypad 8", true, "I, KEYPAD 8"},
        {Control::Down, "K", true, "K"},
        {Control::Left, "Nope", false, "LEFT, A, 4"},
        {Control::Right, " , ", false, "RIGHT, D, 6"},
        {Control::Pause, "Escape", false, "P, F10"},  // Back would have none left
        {Control::Mute, "F1", false, "M"},            // nor Help
        {Control::Action, "Space", true, "SPACE"},
    };
    KeyBindings bindings;
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(bindings.Bind(c.control, c.value, &why), c.made) << c.value;
        EXPECT_EQ(why.empty(), c.made) << c.value << ": " << why;
        EXPECT_EQ(bindings.Names(c.control), c.names) << c.value;
    }
    auto vk = [&](const char* key, const char* at = nullptr) {
        KeyMapping m = bindings.Map(KeycodeByName(key), ScancodeByName(at ? at : key), false);
        return m.action == KeyAction::GameKey ? m.vk : -1;
    };
    EXPECT_EQ(vk("I"), VK_UP);
    EXPECT_EQ(vk("Keypad 8"), VK_UP);  // no longer the phone's 8
    EXPECT_EQ(vk("Up"), -1);
    EXPECT_EQ(vk("W"), -1);
    EXPECT_EQ(vk("K"), VK_DOWN);
    EXPECT_EQ(vk("Return"), -1);
    EXPECT_EQ(vk("Space"), VK_RETURN);
    EXPECT_EQ(vk("A"), VK_LEFT);
}
