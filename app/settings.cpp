// The best score and the volume, kept in the user's registry between runs, and the
// device's key clicks: silenced while the game runs, given back byte for byte at quit.
#include "app/settings.h"
#include <cstring>
#include "app/autopilot.h"
#include "platform/registry.h"

uint32_t SavedBeepMode = 0;
uint8_t SavedScript[30] = {};
uint32_t SavedScriptSize = sizeof SavedScript;
uint8_t SavedScriptLong[SavedScriptLimit] = {};
uint32_t SavedScriptLongSize = 0;

namespace {

const WCHAR* const GameKey = L"Software\\brix\\glimmo";
const WCHAR* const KeyClickKey = L"ControlPanel\\Sounds\\Keypress";

HKEY OpenKey(const WCHAR* name, LONG& result) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    result = RegCreateKeyExW(HKEY_CURRENT_USER, name, 0, nullptr, 0, 0, nullptr, &key, &disposition);
    return result == ERROR_SUCCESS ? key : nullptr;
}

// A 4-byte number; anything else (missing, another type, another size) leaves `out` alone.
bool ReadDword(HKEY key, const WCHAR* name, uint32_t& out) {
    uint8_t data[4] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
    if (type != REG_DWORD || size != sizeof data) return false;
    std::memcpy(&out, data, sizeof data);
    return true;
}

void WriteDword(HKEY key, const WCHAR* name, uint32_t value) {
    uint8_t data[4];
    std::memcpy(data, &value, sizeof data);
    RegSetValueExW(key, name, 0, REG_DWORD, data, sizeof data);
}

// The key-click sound as it stands. Up to 30 bytes go to SavedScript; a longer one
// (up to SavedScriptLimit) is kept whole in SavedScriptLong, so it too comes back intact.
void SaveScript(HKEY key) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, L"Script", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    if (size <= sizeof SavedScript) {
        uint8_t data[sizeof SavedScript] = {};
        DWORD got = sizeof data;
        if (RegQueryValueExW(key, L"Script", nullptr, &type, data, &got) != ERROR_SUCCESS || got > sizeof data) return;
        std::memcpy(SavedScript, data, sizeof data);
        SavedScriptSize = got;
        SavedScriptLongSize = 0;
    } else if (size <= SavedScriptLimit) {
        DWORD got = SavedScriptLimit;
        if (RegQueryValueExW(key, L"Script", nullptr, &type, SavedScriptLong, &got) != ERROR_SUCCESS ||
            got > SavedScriptLimit) {
            std::memset(SavedScriptLong, 0, sizeof SavedScriptLong);
            return;
        }
        SavedScriptLongSize = got;
    } else {
        SavedScriptLongSize = ScriptLeftAlone;
    }
}

}  // namespace

LONG LoadSettings() {
    LONG result = ERROR_SUCCESS;
    if (HKEY key = OpenKey(KeyClickKey, result)) {
        ReadDword(key, L"BeepMode", SavedBeepMode);
        SaveScript(key);
        RegCloseKey(key);
    }
    if (HKEY key = OpenKey(KeyClickKey, result)) {
        const uint8_t blank[30] = {};
        WriteDword(key, L"BeepMode", 0);
        if (SavedScriptLongSize != ScriptLeftAlone) RegSetValueExW(key, L"Script", 0, REG_SZ, blank, sizeof blank);
        RegCloseKey(key);
    }
    HKEY key = OpenKey(GameKey, result);
    if (key == nullptr) return result;
    uint32_t value = 0;
    // A best score below zero or a volume whose counter cannot be held is not a setting.
    if (ReadDword(key, L"HiScore", value) && int32_t(value) >= 0) HiScore = int32_t(value);
    if (ReadDword(key, L"Sound", value) && int32_t(value) >= -SoundLimit && int32_t(value) <= SoundLimit)
        Sound = int32_t(value);
    RegCloseKey(key);
    return result;
}

LONG SaveSettings() {
    LONG result = ERROR_SUCCESS;  // the last open decides the result
    if (HKEY key = OpenKey(GameKey, result)) {
        // The demo's score is not the player's best; a volume set with the keys is kept.
        if (!AutopilotEnabled()) WriteDword(key, L"HiScore", uint32_t(HiScore));
        WriteDword(key, L"Sound", uint32_t(Sound));
        RegCloseKey(key);
    }
    return RestoreKeyClicks();
}

LONG RestoreKeyClicks() {
    LONG result = ERROR_SUCCESS;
    HKEY key = OpenKey(KeyClickKey, result);
    if (key == nullptr) return result;
    WriteDword(key, L"BeepMode", SavedBeepMode);
    if (SavedScriptLongSize == ScriptLeftAlone) {
        // Too long to keep: it was never blanked, so there is nothing to give back.
    } else if (SavedScriptLongSize > 0) {
        RegSetValueExW(key, L"Script", 0, REG_SZ, SavedScriptLong, SavedScriptLongSize);
    } else {
        // The value as read, at its own length; 30 zero bytes when none was read.
        RegSetValueExW(key, L"Script", 0, REG_SZ, SavedScript, SavedScriptSize);
    }
    RegCloseKey(key);
    return result;
}
