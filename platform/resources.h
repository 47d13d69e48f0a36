// Resources embedded in the executable at build time: bitmaps, WAVE samples,
// the icon and the string table, looked up by type and number as on the phone.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/win_types.h"

struct ResourceEntry;
using HRSRC = const ResourceEntry*;
using HGLOBAL = const void*;

// An integer resource name, as MAKEINTRESOURCE makes it.
inline const WCHAR* MAKEINTRESOURCEW(unsigned id) { return reinterpret_cast<const WCHAR*>(uintptr_t(id)); }

HRSRC FindResourceW(HINSTANCE module, const WCHAR* name, const WCHAR* type);
HGLOBAL LoadResource(HINSTANCE module, HRSRC resource);
DWORD SizeofResource(HINSTANCE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
int LoadStringW(HINSTANCE module, UINT id, WCHAR* buffer, int bufferChars);
DWORD GetModuleFileNameW(HINSTANCE module, WCHAR* buffer, DWORD bufferChars);

// A decoded resource bitmap: the pixels as 0x00BBGGRR colours, top row first.
struct DecodedBitmap {
    int width;
    int height;
    uint32_t* pixels;
};
using HBITMAP = DecodedBitmap*;
HBITMAP LoadBitmapW(HINSTANCE module, const WCHAR* name);
BOOL DeleteObject(void* object);

// The program's own instance handle (what the entry receives).
HINSTANCE ProgramInstance();
