// One sound effect: 8-bit unsigned mono PCM with its rate and length, and the volume,
// loop and pan that PlaySample copies into a voice. Loaded in place from a WAVE
// resource, or from a RIFF/WAVE file into memory the sample owns.
#pragma once
#include <cstdint>
#include "platform/win_types.h"
#include "sound/resolve_path.h"

class Sample {
public:
    Sample() = default;
    virtual ~Sample();
    Sample(const Sample&) = delete;
    Sample& operator=(const Sample&) = delete;

    // Unload, then parse the WAVE resource of that id in place (never past its end).
    // A load that fails leaves the sample unloaded, whatever it held before.
    bool LoadFromResource(HINSTANCE module, uint16_t id);
    // Unload, then read the file (taken relative to the executable's folder unless it
    // begins with '/') into owned memory. A failed load leaves the sample unloaded.
    bool LoadFromFile(const WCHAR* name);
    // Frees owned data and forgets data from a resource: no data, rate and length 0,
    // nothing to play. Volume, loop and pan stay.
    void Unload();

    void SetVolume(int32_t volume);  // outside 0..64 becomes 64
    uint32_t GetVolume() const;
    void SetLoop(bool loop);
    bool GetLoop() const;
    void SetPan(int32_t pan);  // outside 0..255 becomes 255
    uint32_t GetPan() const;

    const uint8_t* data = nullptr;
    uint32_t rate = 0;
    uint32_t length = 0;
    uint32_t volume = 64;
    bool loop = false;
    uint32_t pan = 128;
    bool ownsData = false;
};

// The fixed point of the voices: lengths below 2^24 bytes, rates below 65536 Hz.
constexpr uint32_t MaxSampleLength = (1u << 24) - 1;
constexpr uint32_t MaxSampleRate = 65535;

// The one reader of the WAVE subset, for both loaders (a file is read whole first): parsed
// from bytes in memory; on success the data's offset and size within the bytes and the
// rate are filled in.
struct WaveLayout {
    uint32_t rate = 0;
    uint32_t dataOffset = 0;
    uint32_t dataSize = 0;
};
bool ParseWave(const uint8_t* bytes, uint32_t size, WaveLayout& layout);
// The largest WAVE file LoadFromFile reads: room for the longest sample's data, and as
// much again for the chunks around it.
constexpr uint32_t LargestWaveFile = 2 * (MaxSampleLength + 1);
