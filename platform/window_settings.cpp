// The window's settings in the registry: Software\brix\glimmo\Window (FullScreen, Scale,
// Muted as numbers) and Software\brix\glimmo\Keys (a string per control).
#include "platform/window_settings.h"
#include <cstdio>
#include "platform/registry.h"
#include "platform/registry_store.h"

namespace {
const WCHAR* const WindowKey = L"Software\\brix\\glimmo\\Window";
constexpr int kLargestKeptScale = 64;

}  // namespace

WindowSettings LoadWindowSettings() {
    WindowSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WindowKey, 0, 0, &key) == ERROR_SUCCESS) {
        uint32_t value = 0;
        if (ReadDword(key, L"FullScreen", value)) settings.fullScreen = value != 0;
        if (ReadDword(key, L"Scale", value) && value <= kLargestKeptScale) settings.scale = int(value);
        if (ReadDword(key, L"Muted", value)) settings.muted = value != 0;
        RegCloseKey(key);
    }
    const RegistryTree& tree = LoadedRegistry();
    auto keys = tree.find("Software\\brix\\glimmo\\Keys");
    if (keys == tree.end()) return settings;
    for (const auto& [name, value] : keys->second) {
        Control control;
        if (!ControlByName(name, &control)) {
            std::fprintf(stderr, "glimmo: the settings bind keys to \"%s\", which is nothing the game does\n",
                         name.c_str());
            continue;
        }
        // A string of UTF-16 units; key names are plain ASCII, anything else names no key.
        std::string text;
        if (value.type == REG_SZ)
            for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
                const unsigned unit = value.data[i] | unsigned(value.data[i + 1]) << 8;
                if (unit == 0) break;
                text += unit < 0x80 ? char(unit) : '?';
            }
        else text = "?";
        settings.keys.push_back({control, text});
    }
    return settings;
}

void SaveWindowSettings(const WindowSettings& settings) {
    // The file as it is now: another copy on the same file may have saved since.
    ReloadRegistry();
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WindowKey, 0, nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    WriteDword(key, L"FullScreen", settings.fullScreen ? 1 : 0);
    if (settings.scale > 0) WriteDword(key, L"Scale", uint32_t(settings.scale));
    WriteDword(key, L"Muted", settings.muted ? 1 : 0);
    RegCloseKey(key);
}
