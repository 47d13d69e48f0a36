// The best score and the volume, kept in the user's registry between runs, and the
// device's key clicks: silenced while the game runs, given back byte for byte at quit.
#include "app/settings.h"
#include <cstring>
#include "app/run_policy.h"
#include "platform/registry.h"
#include "platform/registry_store.h"

uint32_t SavedBeepMode = 0;
uint8_t SavedScript[30] = {};
uint32_t SavedScriptSize = sizeof SavedScript;
uint8_t SavedScriptLong[SavedScriptLimit] = {};
uint32_t SavedScriptLongSize = 0;

namespace {

const WCHAR* const GameKey = L"Software\\brix\\glimmo";
const WCHAR* const KeyClickKey = L"ControlPanel\\Sounds\\Keypress";
// The key clicks as they are to be given back, kept here too from the moment they are
// blanked until they are given back: a run that never gives them back (killed, crashed)
// leaves them for the next start to give back.
const WCHAR* const KeptKeyClicksKey = L"Software\\brix\\glimmo\\KeptKeyClicks";

// Loaded, and neither saved nor given back yet.
bool settingsInForce = false;

HKEY OpenKey(const WCHAR* name, LONG& result) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    result = RegCreateKeyExW(HKEY_CURRENT_USER, name, 0, nullptr, 0, 0, nullptr, &key, &disposition);
    return result == ERROR_SUCCESS ? key : nullptr;
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

// The key-click sound as RestoreKeyClicks gives it back; false when it is left alone.
bool ScriptToGiveBack(const uint8_t*& data, DWORD& size) {
    if (SavedScriptLongSize == ScriptLeftAlone) return false;  // never blanked: nothing to give back
    if (SavedScriptLongSize > 0) {
        data = SavedScriptLong;
        size = SavedScriptLongSize;
    } else {
        data = SavedScript;  // the value as read, at its own length; 30 zero bytes when none was read
        size = SavedScriptSize;
    }
    return true;
}

// Writes the saved key clicks into a key, as they are given back.
void WriteSavedKeyClicks(HKEY key) {
    WriteDword(key, L"BeepMode", SavedBeepMode);
    const uint8_t* data = nullptr;
    DWORD size = 0;
    if (ScriptToGiveBack(data, size)) RegSetValueExW(key, L"Script", 0, REG_SZ, data, size);
}

// Whether the saved key clicks are the blanks the game writes: then blanking loses nothing.
bool SavedKeyClicksAreBlank() {
    const uint8_t* data = nullptr;
    DWORD size = 0;
    if (SavedBeepMode != 0) return false;
    if (!ScriptToGiveBack(data, size)) return true;
    if (size != sizeof SavedScript) return false;
    for (DWORD i = 0; i < size; ++i)
        if (data[i] != 0) return false;
    return true;
}

// The key clicks a run before this one kept and never gave back: back they go, and the
// keeping ends, in one save.
void GiveBackKeptKeyClicks() {
    HKEY kept = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeptKeyClicksKey, 0, 0, &kept) != ERROR_SUCCESS) return;
    LONG result = ERROR_SUCCESS;
    if (HKEY key = OpenKey(KeyClickKey, result)) {
        for (const WCHAR* name : {L"BeepMode", L"Script"}) {
            uint8_t data[SavedScriptLimit];
            DWORD type = 0, size = sizeof data;
            if (RegQueryValueExW(kept, name, nullptr, &type, data, &size) == ERROR_SUCCESS)
                RegSetValueExW(key, name, 0, type, data, size);
        }
        RegDeleteKeyW(HKEY_CURRENT_USER, KeptKeyClicksKey);
        RegCloseKey(key);
    }
    RegCloseKey(kept);
}

}  // namespace

LONG LoadSettings() {
    LONG result = ERROR_SUCCESS;
    settingsInForce = true;
    GiveBackKeptKeyClicks();
    if (HKEY key = OpenKey(KeyClickKey, result)) {
        ReadDword(key, L"BeepMode", SavedBeepMode);
        SaveScript(key);
        RegCloseKey(key);
    }
    if (HKEY key = OpenKey(KeyClickKey, result)) {
        const uint8_t blank[30] = {};
        WriteDword(key, L"BeepMode", 0);
        if (SavedScriptLongSize != ScriptLeftAlone) RegSetValueExW(key, L"Script", 0, REG_SZ, blank, sizeof blank);
        // Kept until given back, saved in the same write as the blanks.
        if (!SavedKeyClicksAreBlank()) {
            LONG kept = ERROR_SUCCESS;
            if (HKEY keep = OpenKey(KeptKeyClicksKey, kept)) {
                WriteSavedKeyClicks(keep);
                RegCloseKey(keep);
            }
        }
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
    settingsInForce = false;
    // The file as it is now: another copy on the same file may have saved since this one started.
    ReloadRegistry();
    LONG result = ERROR_SUCCESS;  // the last open decides the result
    if (HKEY key = OpenKey(GameKey, result)) {
        // A demo's score is not the player's best; a volume set with the keys is kept.
        // Whichever copy quits last, the better best score stays; the volume is this copy's.
        if (CurrentRunPolicy().mayKeepBestScore) {
            uint32_t stored = 0;
            int32_t best = HiScore;
            if (ReadDword(key, L"HiScore", stored) && int32_t(stored) > best) best = int32_t(stored);
            WriteDword(key, L"HiScore", uint32_t(best));
        }
        WriteDword(key, L"Sound", uint32_t(Sound));
        RegCloseKey(key);
    }
    return RestoreKeyClicks();
}

LONG RestoreKeyClicks() {
    settingsInForce = false;
    ReloadRegistry();
    LONG result = ERROR_SUCCESS;
    HKEY key = OpenKey(KeyClickKey, result);
    if (key == nullptr) return result;
    WriteSavedKeyClicks(key);
    // Given back: nothing more to keep (saved in the same write).
    RegDeleteKeyW(HKEY_CURRENT_USER, KeptKeyClicksKey);
    RegCloseKey(key);
    return result;
}

bool KeepSettingsAtSessionEnd() {
    if (!settingsInForce) return false;
    SaveSettings();
    return true;
}
