// Loading a module image from a resource, a file or memory, and its play settings.
// The image is never examined here, only measured: one larger than any module can be is
// refused; the voice reads the rest within its size when it plays.
#include "sound/module.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/path_bytes.h"
#include "platform/resources.h"
#include "sound/module_image.h"
#include "sound/resolve_path.h"
#include "sound/voice.h"

Module::~Module() { Unload(); }

void Module::Unload() {
    if (ownsData && data) std::free(const_cast<uint8_t*>(data));
    if (ownsData) {
        data = nullptr;
        size = 0;
        ownsData = false;
    }
}

bool Module::LoadFromResource(HINSTANCE module, uint16_t id) {
    Unload();
    static const WCHAR type[] = {'P', 'T', 'M', 'O', 'D', 0};
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return false;
    const DWORD bytes = SizeofResource(module, found);
    if (bytes > ModuleLargestImage) return false;
    data = static_cast<const uint8_t*>(LockResource(loaded));
    size = bytes;
    ownsData = false;
    return data != nullptr;
}

bool Module::LoadFromFile(const WCHAR* fileName) {
    Unload();
    WCHAR path[ResolvePathChars];
    if (!fileName || ResolvePath(path, fileName) == 0) return false;
    FILE* file = std::fopen(BytesFromWide(path).c_str(), "rb");
    if (!file) return false;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length <= 0 || uint64_t(length) > ModuleLargestImage || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return false;
    }
    auto* buffer = static_cast<uint8_t*>(std::malloc(size_t(length)));
    if (!buffer) {
        std::fclose(file);
        return false;
    }
    // A file that shrinks while it is read keeps what was read.
    size_t got = std::fread(buffer, 1, size_t(length), file);
    std::fclose(file);
    if (got == 0) {
        std::free(buffer);
        return false;
    }
    data = buffer;
    size = got;
    ownsData = true;
    return true;
}

bool Module::LoadFromMemory(const void* bytes, size_t count) {
    Unload();
    if (!bytes || count == 0 || count > ModuleLargestImage) return false;
    auto* copy = static_cast<uint8_t*>(std::malloc(count));
    if (!copy) return false;
    std::memcpy(copy, bytes, count);
    data = copy;
    size = count;
    ownsData = true;
    return true;
}

void Module::SetVolume(int32_t v) { volume = VolumeOrFull(v); }
void Module::SetPan(int32_t p) { pan = PanOrFull(p); }
