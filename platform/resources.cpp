// Resource look-up over the table embedded at build time (res/resources.list).
#include "platform/resources.h"
#include <unistd.h>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>
#include "platform/bmp_decoder.h"
#include "platform/path_bytes.h"
#include "platform/resource_entry.h"

namespace {
const ResourceEntry* extraEntries = nullptr;
size_t extraCount = 0;
int programInstance = 0;

bool IsIntResource(const WCHAR* name) { return uintptr_t(name) < 0x10000; }

// Integer resource types of the phone: 2 bitmap, 3 icon, 6 string table.
std::string TypeName(const WCHAR* type) {
    if (!type) return {};
    if (IsIntResource(type)) {
        switch (uintptr_t(type)) {
            case 2: return "BITMAP";
            case 3: return "ICON";
            case 6: return "STRING";
            default: return {};
        }
    }
    std::string s;
    for (const WCHAR* p = type; *p; ++p) s += (*p < 0x80) ? char(*p) : '?';
    return s;
}

const ResourceEntry* Find(const std::string& type, unsigned id) {
    for (size_t i = 0; i < extraCount; ++i)
        if (extraEntries[i].id == id && type == extraEntries[i].type) return &extraEntries[i];
    for (size_t i = 0; i < EmbeddedResourceCount; ++i)
        if (EmbeddedResources[i].id == id && type == EmbeddedResources[i].type) return &EmbeddedResources[i];
    return nullptr;
}
}  // namespace

void SetExtraResources(const ResourceEntry* entries, size_t count) {
    extraEntries = entries;
    extraCount = entries ? count : 0;
}

HINSTANCE ProgramInstance() { return &programInstance; }

HRSRC FindResourceW(HINSTANCE, const WCHAR* name, const WCHAR* type) {
    if (!IsIntResource(name)) return nullptr;
    return Find(TypeName(type), unsigned(uintptr_t(name)));
}

HGLOBAL LoadResource(HINSTANCE, HRSRC resource) { return resource ? resource->data : nullptr; }
DWORD SizeofResource(HINSTANCE, HRSRC resource) { return resource ? DWORD(resource->size) : 0; }
const void* LockResource(HGLOBAL data) { return data; }

int LoadStringW(HINSTANCE, UINT id, WCHAR* buffer, int bufferChars) {
    if (!buffer || bufferChars < 1) return 0;
    const ResourceEntry* entry = Find("STRING", id);
    if (!entry) {
        buffer[0] = 0;
        return 0;
    }
    int n = 0;
    for (; n < bufferChars - 1 && size_t(n) < entry->size; ++n) buffer[n] = WCHAR(entry->data[n]);
    buffer[n] = 0;
    return n;
}

HBITMAP LoadBitmapW(HINSTANCE, const WCHAR* name) {
    if (!IsIntResource(name)) return nullptr;
    const ResourceEntry* entry = Find("BITMAP", unsigned(uintptr_t(name)));
    return entry ? DecodeBmp(entry->data, entry->size) : nullptr;
}

BOOL DeleteObject(void* object) {
    FreeDecodedBitmap(static_cast<DecodedBitmap*>(object));
    return object ? 1 : 0;
}

DWORD GetModuleFileNameW(HINSTANCE, WCHAR* buffer, DWORD bufferChars) {
    if (!buffer || bufferChars == 0) return 0;
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    // The path's bytes as they are, whatever they are; a name that does not fit is cut,
    // as the phone did.
    std::wstring wide = WideFromBytes(std::string_view(path, size_t(n)));
    if (wide.size() >= bufferChars) {
        wide.copy(buffer, bufferChars - 1);
        buffer[bufferChars - 1] = 0;
        return bufferChars;
    }
    wide.copy(buffer, wide.size());
    buffer[wide.size()] = 0;
    return DWORD(wide.size());
}
