// Samples: the loaders (a WAVE resource in place, a WAVE file into owned memory),
// Unload, and the settings PlaySample copies into a voice.
#include "sound/sample.h"
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include "platform/byte_order.h"
#include "platform/path_bytes.h"
#include "platform/resources.h"
#include "sound/voice.h"

namespace {
struct FileCloser {
    FILE* file;
    ~FileCloser() {
        if (file) std::fclose(file);
    }
};

bool ReadExactly(FILE* file, void* into, size_t bytes) { return std::fread(into, 1, bytes, file) == bytes; }
}  // namespace

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
    FileCloser file{std::fopen(BytesFromWide(path).c_str(), "rb")};
    if (!file.file) return false;
    if (std::fseek(file.file, RiffHeaderBytes, SEEK_SET) != 0) return false;

    uint8_t header[ChunkHeaderBytes];
    if (!ReadExactly(file.file, header, ChunkHeaderBytes) || std::memcmp(header, "fmt ", 4) != 0) return false;
    uint32_t fmtSize = ReadU32LE(header + 4);
    uint8_t format[WaveFormatBytes];
    if (!ReadExactly(file.file, format, WaveFormatBytes)) return false;
    uint32_t newRate = 0;
    if (!AcceptWaveFormat(fmtSize, format, newRate)) return false;
    if (fmtSize > WaveFormatBytes && std::fseek(file.file, long(fmtSize - WaveFormatBytes), SEEK_CUR) != 0)
        return false;

    if (!ReadExactly(file.file, header, ChunkHeaderBytes)) return false;
    while (std::memcmp(header, "data", 4) != 0) {
        // Skip by reading: a size past the end of the file fails the next read.
        if (std::fseek(file.file, long(ReadU32LE(header + 4)), SEEK_CUR) != 0) return false;
        if (!ReadExactly(file.file, header, ChunkHeaderBytes)) return false;
    }
    uint32_t newLength = ReadU32LE(header + 4);
    if (newLength > MaxSampleLength) return false;

    auto* owned = new (std::nothrow) uint8_t[newLength ? newLength : 1];
    if (!owned) return false;
    // A data chunk longer than what the file holds is refused, not played half-read.
    if (!ReadExactly(file.file, owned, newLength)) {
        delete[] owned;
        return false;
    }
    // Only a load that got everything changes the sample: a failed one leaves it unloaded.
    data = owned;
    ownsData = true;
    rate = newRate;
    length = newLength;
    return true;
}

void Sample::SetVolume(int32_t v) { volume = VolumeOrFull(v); }
uint32_t Sample::GetVolume() const { return volume; }
void Sample::SetLoop(bool l) { loop = l; }
bool Sample::GetLoop() const { return loop; }
void Sample::SetPan(int32_t p) { pan = PanOrFull(p); }
uint32_t Sample::GetPan() const { return pan; }
