// Samples: the loaders (a WAVE resource in place, a WAVE file into owned memory, both
// through ParseWave), Unload, and the settings PlaySample copies into a voice.
#include "sound/sample.h"
#include <cstring>
#include <new>
#include <string>
#include "platform/input_file.h"
#include "platform/path_bytes.h"
#include "platform/resources.h"
#include "sound/voice.h"

Sample::~Sample() { Unload(); }

void Sample::Unload() {
    if (ownsData) delete[] data;
    data = nullptr;
    ownsData = false;
    rate = 0;
    length = 0;
}

bool Sample::LoadFromResource(HINSTANCE module, uint16_t id) {
    Unload();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"WAVE");
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded) return false;
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    WaveLayout layout;
    if (!ParseWave(bytes, SizeofResource(module, resource), layout)) return false;
    rate = layout.rate;
    length = layout.dataSize;
    data = bytes + layout.dataOffset;
    ownsData = false;
    return true;
}

bool Sample::LoadFromFile(const WCHAR* name) {
    Unload();
    WCHAR path[ResolvePathChars];
    if (ResolvePath(path, name) == 0) return false;
    // The file is read whole and walked as a resource is: one reader for both loaders.
    std::string bytes;
    if (!ReadInputFile(BytesFromWide(path), LargestWaveFile, true, bytes).empty()) return false;
    const auto* file = reinterpret_cast<const uint8_t*>(bytes.data());
    WaveLayout layout;
    if (!ParseWave(file, uint32_t(bytes.size()), layout)) return false;
    auto* owned = new (std::nothrow) uint8_t[layout.dataSize ? layout.dataSize : 1];
    if (!owned) return false;
    std::memcpy(owned, file + layout.dataOffset, layout.dataSize);
    // Only a load that got everything changes the sample: a failed one leaves it unloaded.
    data = owned;
    ownsData = true;
    rate = layout.rate;
    length = layout.dataSize;
    return true;
}

void Sample::SetVolume(int32_t v) { volume = VolumeOrFull(v); }
uint32_t Sample::GetVolume() const { return volume; }
void Sample::SetLoop(bool l) { loop = l; }
bool Sample::GetLoop() const { return loop; }
void Sample::SetPan(int32_t p) { pan = PanOrFull(p); }
uint32_t Sample::GetPan() const { return pan; }
