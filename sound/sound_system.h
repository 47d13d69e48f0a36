// The software mixer: the wave-out device, a ring of five 8-bit output blocks, the
// sample and module voice pools, and the mixing thread that refills each block as
// the device hands it back. Every public call is made on the game thread.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include "platform/waveout.h"
#include "sound/event.h"
#include "sound/module_voice.h"
#include "sound/voice.h"

class Sample;
class Module;

constexpr uint32_t NoVoice = 0xFFFF;
constexpr int OutputBlocks = 5;
// The voice pools' sizes that Open accepts; other requests are clamped into them.
constexpr uint32_t MaxModuleVoices = 3;
constexpr uint32_t MinSampleVoices = 8;
constexpr uint32_t MaxSampleVoices = 64;

// A voice playing one Sample once or in a loop: 8.8 step, 24.8 position.
class SampleVoice : public Voice {
public:
    const uint8_t* data = nullptr;
    uint32_t step = 0;
    uint32_t position = 0;
    uint32_t end = 0;
};

class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // rate 11025, 22050 or 44100 (any other: 22050); module voices 1..3, sample
    // voices 8..64. False when already open or on any failure.
    bool Open(uint32_t rate, uint32_t moduleVoices, uint32_t sampleVoices, bool stereo);
    bool Open(uint32_t rate, bool stereo);  // 1 module voice, 8 sample voices
    bool Close();                           // always true; resumes paused output first

    uint32_t PlaySample(const Sample& sample);  // handle, or NoVoice
    uint32_t PlayModule(const Module& module);  // handle, or NoVoice (module player)
    Voice* GetVoice(uint32_t handle);           // null beyond both pools

    uint32_t GetModuleVoiceCount() const;
    uint32_t GetSampleVoiceCount() const;
    uint32_t CountPlayingModules() const;
    uint32_t CountPlayingSamples() const;

    void StopAllSamples();
    void StopAllModules();
    void PauseAllSamples();
    void PauseAllModules();
    void ResumeAllSamples();
    void ResumeAllModules();

    // Pauses the device and parks the mixing thread between two blocks (never while
    // it holds the lock); ResumeOutput lets it go on and restarts the device.
    void PauseOutput();
    void ResumeOutput();

    void SetSampleMasterVolume(int32_t volume);  // outside 0..64 becomes 64
    void SetModuleMasterVolume(int32_t volume);
    uint32_t GetSampleMasterVolume() const;
    uint32_t GetModuleMasterVolume() const;

    // Renders framesPerBlock frames of every playing voice into currentBlock (the
    // caller holds the lock).
    void MixBlock();

    // The mixer's state; the module player (PlayModule) and tests use it directly.
    HWAVEOUT device = nullptr;
    WAVEFORMATEX format{};
    WAVEHDR headers[OutputBlocks]{};
    std::thread thread;
    DWORD threadId = 0;
    std::mutex lock;
    Event stopEvent;
    Event doneEvent;
    bool open = false;
    uint32_t rate = 0;
    uint32_t moduleVoiceCount = 0;
    std::unique_ptr<ModuleVoice[]> moduleVoices;
    uint32_t sampleVoiceCount = 0;
    std::unique_ptr<SampleVoice[]> sampleVoices;
    const uint16_t* stepTable = nullptr;
    std::unique_ptr<uint8_t[]> mixBuffer;
    uint32_t framesPerBlock = 0;
    uint32_t mixBufferBytes = 0;
    uint8_t* currentBlock = nullptr;
    uint32_t stereo = 0;
    std::atomic<uint32_t> moduleMasterVolume{0};
    std::atomic<uint32_t> sampleMasterVolume{0};

    // Output pause: the mixing thread honours the request between blocks and says
    // when it is parked; Close lets a parked thread go before it stops it.
    std::mutex pauseMutex;
    std::condition_variable pauseChanged;
    bool pauseRequested = false;
    bool threadParked = false;
    bool outputPaused = false;

private:
    bool FailOpen();
    void MixThread();
    void HonourPause();
    void RefillBlock(WAVEHDR* header);
    // The device's refill in the caller's thread (a device that plays on the game's
    // clock): the same refill the mixing thread makes, made where time passes.
    static void RefillInCaller(void* self, WAVEHDR* header);
    void ReleaseBuffers();
    void StopMixThread();
    template <typename Each>
    void ForSampleVoices(Each each);
    template <typename Each>
    void ForModuleVoices(Each each);
};
