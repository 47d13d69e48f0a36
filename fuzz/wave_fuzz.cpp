// Fuzz target of the two WAVE loaders: any bytes as a WAVE resource and as a WAVE file
// load the same sample or are refused by both, and a loaded sample's bytes all lie
// inside what was given.
#include <stdlib.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "platform/path_bytes.h"
#include "platform/resource_entry.h"
#include "platform/resources.h"
#include "sound/sample.h"

namespace {
// The scratch file's name lives in a plain array, so the clean-up at exit can still read it.
char scratchFile[64];

void RemoveScratchFile() { unlink(scratchFile); }

std::string FilePath() {
    if (!scratchFile[0]) {
        std::strcpy(scratchFile, "/dev/shm/glimmo-wave-fuzz-XXXXXX");
        int fd = mkstemp(scratchFile);
        if (fd < 0) {
            std::strcpy(scratchFile, "/tmp/glimmo-wave-fuzz-XXXXXX");
            fd = mkstemp(scratchFile);
        }
        if (fd < 0) std::abort();
        close(fd);
        std::atexit(RemoveScratchFile);
    }
    return scratchFile;
}

// Touches every byte, so a sample pointing outside what was given is caught.
uint32_t Checksum(const Sample& s) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < s.length; ++i) sum = sum * 31 + s.data[i];
    return sum;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1u << 20) return 0;  // resources are far smaller

    WaveLayout layout;
    bool parsed = ParseWave(data, uint32_t(size), layout);
    if (parsed && (uint64_t(layout.dataOffset) + layout.dataSize > size || layout.rate > MaxSampleRate)) std::abort();

    const ResourceEntry entry{"WAVE", 4242, data, size};
    SetExtraResources(&entry, 1);
    Sample fromResource;
    bool loaded = fromResource.LoadFromResource(ProgramInstance(), 4242);
    SetExtraResources(nullptr, 0);
    if (loaded != parsed) std::abort();
    if (loaded) {
        if (fromResource.data < data || fromResource.data + fromResource.length > data + size ||
            fromResource.length > MaxSampleLength)
            std::abort();
        Checksum(fromResource);
    }

    const std::string path = FilePath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    Sample fromFile;
    bool read = fromFile.LoadFromFile(WideFromBytes(path).c_str());
    // The file and the resource are the same bytes: the same sample, or refused by both.
    if (read != loaded) std::abort();
    if (read && (fromFile.rate != fromResource.rate || fromFile.length != fromResource.length ||
                 std::memcmp(fromFile.data, fromResource.data, fromFile.length) != 0))
        std::abort();
    return 0;
}
