// File names of the sound loaders: '/' starts a full path, anything else is looked
// up next to the executable. A path that would not fit the buffer is refused.
#include "sound/resolve_path.h"
#include <cwchar>
#include "platform/resources.h"

uint32_t ResolvePath(WCHAR* buffer, const WCHAR* name) {
    if (!buffer || !name) return 0;
    size_t nameLength = wcslen(name);
    if (name[0] == L'/') {
        if (nameLength >= ResolvePathChars) return 0;
        wmemcpy(buffer, name, nameLength + 1);
        return uint32_t(nameLength);
    }
    WCHAR self[ResolvePathChars];
    DWORD selfLength = GetModuleFileNameW(nullptr, self, ResolvePathChars);
    // A full buffer means the executable's path itself was cut short.
    if (selfLength == 0 || selfLength >= ResolvePathChars) return 0;
    self[selfLength] = L'\0';
    const WCHAR* slash = wcsrchr(self, L'/');
    if (!slash) return 0;
    size_t folderLength = size_t(slash - self) + 1;
    if (folderLength + nameLength >= ResolvePathChars) return 0;
    wmemcpy(buffer, self, folderLength);
    wmemcpy(buffer + folderLength, name, nameLength + 1);
    return uint32_t(folderLength + nameLength);
}
