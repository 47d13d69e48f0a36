// The user's settings store, kept as a REGEDIT4 text file (see registry_store.h).
#pragma once
#include "platform/win_types.h"

struct RegistryKey;
using HKEY = RegistryKey*;
HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t(0x80000001));

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

LONG RegCreateKeyExW(HKEY root, const WCHAR* subKey, DWORD reserved, WCHAR* keyClass, DWORD options, DWORD access,
                     void* security, HKEY* result, DWORD* disposition);
// Opens a key only when it is there (ERROR_FILE_NOT_FOUND otherwise).
LONG RegOpenKeyExW(HKEY root, const WCHAR* subKey, DWORD options, DWORD access, HKEY* result);
// Removes a key and its values (not the keys below it); the file is saved.
LONG RegDeleteKeyW(HKEY root, const WCHAR* subKey);
LONG RegQueryValueExW(HKEY key, const WCHAR* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
LONG RegSetValueExW(HKEY key, const WCHAR* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG RegCloseKey(HKEY key);

// A 4-byte number: false (and `out` left alone) when the value is missing, of another
// type or of another size.
bool ReadDword(HKEY key, const WCHAR* name, uint32_t& out);
void WriteDword(HKEY key, const WCHAR* name, uint32_t value);
