// The registry calls on the file store: keys are opened (and made) by path, values
// are raw bytes with a type, and closing a key that was written saves the file.
#include "platform/registry.h"
#include <cstring>
#include <string>
#include "platform/registry_store.h"

struct RegistryKey {
    std::string path;
    bool changed = false;
};

namespace {
std::string Narrow(const WCHAR* w) {
    std::string s;
    for (; w && *w; ++w) s += (*w < 0x80) ? char(*w) : '?';
    return s;
}
bool Valid(HKEY key) { return key && key != HKEY_CURRENT_USER; }
}  // namespace

LONG RegCreateKeyExW(HKEY root, const WCHAR* subKey, DWORD, WCHAR*, DWORD, DWORD, void*, HKEY* result,
                     DWORD* disposition) {
    if (root != HKEY_CURRENT_USER || !subKey || !result) return ERROR_INVALID_HANDLE;
    std::string path = Narrow(subKey);
    if (path.empty()) return ERROR_FILE_NOT_FOUND;
    RegistryTree& tree = LoadedRegistry();
    bool existed = tree.count(path) != 0;
    tree[path];
    if (disposition) *disposition = existed ? 2 : 1;  // opened / created
    *result = new RegistryKey{path, !existed};
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExW(HKEY root, const WCHAR* subKey, DWORD, DWORD, HKEY* result) {
    if (root != HKEY_CURRENT_USER || !subKey || !result) return ERROR_INVALID_HANDLE;
    std::string path = Narrow(subKey);
    if (path.empty() || LoadedRegistry().count(path) == 0) return ERROR_FILE_NOT_FOUND;
    *result = new RegistryKey{path, false};
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyW(HKEY root, const WCHAR* subKey) {
    if (root != HKEY_CURRENT_USER || !subKey) return ERROR_INVALID_HANDLE;
    if (LoadedRegistry().erase(Narrow(subKey)) == 0) return ERROR_FILE_NOT_FOUND;
    SaveRegistry();
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, const WCHAR* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    if (!Valid(key)) return ERROR_INVALID_HANDLE;
    RegistryKeyValues& values = LoadedRegistry()[key->path];
    auto it = values.find(Narrow(name));
    if (it == values.end()) return ERROR_FILE_NOT_FOUND;
    const RegistryValue& v = it->second;
    if (type) *type = v.type;
    if (!size) return data ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
    DWORD available = *size;
    *size = DWORD(v.data.size());
    if (!data) return ERROR_SUCCESS;
    if (v.data.size() > available) return ERROR_MORE_DATA;
    if (!v.data.empty()) std::memcpy(data, v.data.data(), v.data.size());
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, const WCHAR* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    if (!Valid(key) || (!data && size)) return ERROR_INVALID_HANDLE;
    RegistryValue value{type, std::vector<uint8_t>(data, data + size)};
    LoadedRegistry()[key->path][Narrow(name)] = value;
    key->changed = true;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (!Valid(key)) return ERROR_INVALID_HANDLE;
    if (key->changed) SaveRegistry();
    delete key;
    return ERROR_SUCCESS;
}

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
