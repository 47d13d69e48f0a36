// The voice base shared by sample voices and module voices. The game thread flips
// these fields without the lock and the mixing thread reads them once per frame, so
// each is an atomic with relaxed ordering: single-field writes, no tearing, no race.
#pragma once
#include <atomic>
#include <cstdint>

// The volume and pan a setter keeps: anything outside 0..64 or 0..255 is taken as full.
constexpr uint32_t FullVolume = 64;
constexpr uint32_t FullPan = 255;
constexpr uint32_t VolumeOrFull(int32_t v) { return v < 0 || v > int32_t(FullVolume) ? FullVolume : uint32_t(v); }
constexpr uint32_t PanOrFull(int32_t p) { return p < 0 || p > int32_t(FullPan) ? FullPan : uint32_t(p); }

class Voice {
public:
    Voice();
    virtual ~Voice() = default;
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    // Outside 0..64 becomes 64; EffectiveVolume = master x volume >> 6.
    virtual void SetVolume(int32_t volume);
    // Outside 0..255 becomes 255.
    virtual void SetPan(int32_t pan);

    uint32_t GetVolume() const;  // the effective volume, not the stored one
    uint32_t GetPan() const;
    void SetLoop(bool loop);
    bool GetLoop() const;
    void Stop();    // stopped = true; paused unchanged
    void Pause();   // if not stopped: paused = true
    void Resume();  // if not stopped: paused = false
    bool IsPlaying() const;

    const std::atomic<uint32_t>* masterVolume = nullptr;
    std::atomic<uint32_t> volume{0};
    std::atomic<uint32_t> EffectiveVolume{0};
    std::atomic<uint32_t> pan{128};
    std::atomic<bool> loop{false};
    std::atomic<bool> paused{false};
    std::atomic<bool> stopped{true};
};
