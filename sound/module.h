// A piece of four-channel tracker music: the whole file image (31 samples, order list,
// 64-row patterns) loaded from a PTMOD resource, a file or memory, with its play settings.
// Every loader refuses an image larger than ModuleLargestImage, the most a module can hold.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/win_types.h"

class Module {
public:
    Module() = default;
    virtual ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // The PTMOD resource with that id; the data stays in the resource.
    bool LoadFromResource(HINSTANCE module, uint16_t id);
    // A module file, read whole into memory the Module owns.
    bool LoadFromFile(const WCHAR* fileName);
    // A copy of the bytes given (empty input loads nothing).
    bool LoadFromMemory(const void* bytes, size_t count);
    void Unload();

    void SetVolume(int32_t v);  // outside 0..64 becomes 64
    uint32_t GetVolume() const { return volume; }
    void SetLoop(bool l) { loop = l; }
    bool GetLoop() const { return loop; }
    void SetPan(int32_t p);  // stereo separation; outside 0..255 becomes 255
    uint32_t GetPan() const { return pan; }

    const uint8_t* data = nullptr;
    uint32_t volume = 64;
    bool loop = false;
    uint32_t pan = 255;
    bool ownsData = false;
    // Bytes of the image: a voice never reads past them whatever the image says.
    size_t size = 0;
};
