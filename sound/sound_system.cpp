// The sound system's life and its voice pools: Open and Close, starting samples on
// the lowest free voice, the all-voice operations and the master volumes.
#include "sound/sound_system.h"
#include <cstring>
#include <new>
#include "platform/clock.h"
#include "sound/module_tables.h"
#include "sound/sample.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}  // namespace

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem() { Close(); }

bool SoundSystem::Open(uint32_t outputRate, bool stereoOn) { return Open(outputRate, 1, 8, stereoOn); }

bool SoundSystem::Open(uint32_t outputRate, uint32_t moduleVoicesWanted, uint32_t sampleVoicesWanted, bool stereoOn) {
    if (open) return false;

    // Blocks of about 27 ms at every rate.
    if (outputRate == 11025) {
        framesPerBlock = 298;
    } else if (outputRate == 44100) {
        framesPerBlock = 1176;
    } else {
        outputRate = 22050;
        framesPerBlock = 588;
    }
    stepTable = StepTableFor(outputRate);
    stereo = stereoOn ? 1 : 0;
    const uint32_t channels = 1u << stereo;

    moduleVoiceCount = moduleVoicesWanted < 1                 ? 1
                       : moduleVoicesWanted > MaxModuleVoices ? MaxModuleVoices
                                                              : moduleVoicesWanted;
    moduleVoices.reset(new (std::nothrow) ModuleVoice[moduleVoiceCount]);
    if (!moduleVoices) return FailOpen();
    for (uint32_t i = 0; i < moduleVoiceCount; ++i) moduleVoices[i].masterVolume = &moduleMasterVolume;
    moduleMasterVolume.store(64, relaxed);

    sampleVoiceCount = sampleVoicesWanted < MinSampleVoices   ? MinSampleVoices
                       : sampleVoicesWanted > MaxSampleVoices ? MaxSampleVoices
                                                              : sampleVoicesWanted;
    sampleVoices.reset(new (std::nothrow) SampleVoice[sampleVoiceCount]);
    if (!sampleVoices) return FailOpen();
    for (uint32_t i = 0; i < sampleVoiceCount; ++i) sampleVoices[i].masterVolume = &sampleMasterVolume;
    sampleMasterVolume.store(64, relaxed);

    rate = outputRate;
    mixBufferBytes = OutputBlocks * framesPerBlock * channels;
    mixBuffer.reset(new (std::nothrow) uint8_t[mixBufferBytes]);
    if (!mixBuffer) return FailOpen();
    std::memset(mixBuffer.get(), 0x80, mixBufferBytes);
    currentBlock = mixBuffer.get();

    // The thread starts parked, as if created suspended, until the device is ready.
    stopEvent.Clear();
    doneEvent.Clear();
    {
        std::lock_guard<std::mutex> hold(pauseMutex);
        pauseRequested = true;
        threadParked = false;
        outputPaused = false;
    }
    threadId = CreateThreadQueue();
    try {
        thread = std::thread(&SoundSystem::MixThread, this);
    } catch (...) {
        DestroyThreadQueue(threadId);
        return FailOpen();
    }

    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(channels);
    format.nSamplesPerSec = rate;
    format.nAvgBytesPerSec = channels * rate;
    format.nBlockAlign = WORD(channels);
    format.wBitsPerSample = 8;
    format.cbSize = 0;

    device = nullptr;
    const UINT devices = waveOutGetNumDevs();
    for (UINT id = 0; id < devices; ++id) {
        if (waveOutOpen(&device, id, &format, threadId, reinterpret_cast<uintptr_t>(this), CALLBACK_THREAD) ==
            MMSYSERR_NOERROR)
            break;
        device = nullptr;
    }
    if (!device) return FailOpen();
    // Where the device plays on the game's own clock, blocks are refilled right there.
    WaveOutSetRefill(device, &SoundSystem::RefillInCaller, this);

    waveOutPause(device);
    const uint32_t blockBytes = framesPerBlock * channels;
    for (int i = 0; i < OutputBlocks; ++i) {
        // Each block first carries 8 bytes of silence, so all five come back at once
        // after the restart and the mixing thread refills each at full length.
        std::memset(&headers[i], 0, sizeof(WAVEHDR));
        headers[i].dwBufferLength = 8;
        headers[i].lpData = reinterpret_cast<char*>(mixBuffer.get() + i * blockBytes);
        waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
    }
    // The thread asks for its priority as its first act, then parks: waiting for that
    // settles its priority before the output starts.
    {
        std::unique_lock<std::mutex> hold(pauseMutex);
        pauseChanged.wait(hold, [this] { return threadParked; });
    }
    Sleep(100);
    {
        std::lock_guard<std::mutex> hold(pauseMutex);
        pauseRequested = false;
    }
    pauseChanged.notify_all();
    waveOutRestart(device);
    open = true;
    return true;
}

// A failed Open ends the thread it had made and frees everything, so the object is
// closed exactly as before and the next Open starts afresh.
bool SoundSystem::FailOpen() {
    if (thread.joinable()) StopMixThread();
    stopEvent.Clear();
    doneEvent.Clear();
    ReleaseBuffers();
    device = nullptr;
    return false;
}

bool SoundSystem::Close() {
    if (!open) return true;
    StopMixThread();
    Sleep(100);
    stopEvent.Clear();

    waveOutReset(device);
    for (auto& header : headers) waveOutUnprepareHeader(device, &header, sizeof(WAVEHDR));
    waveOutClose(device);
    device = nullptr;

    ReleaseBuffers();
    open = false;
    return true;
}

// Lets a parked thread go first (it could never see the stop otherwise), then asks it
// to stop and waits until it has ended.
void SoundSystem::StopMixThread() {
    // No more refills once the thread is stopping, in either place.
    if (device) WaveOutSetRefill(device, nullptr, nullptr);
    {
        std::lock_guard<std::mutex> hold(pauseMutex);
        pauseRequested = false;
        outputPaused = false;
    }
    pauseChanged.notify_all();
    stopEvent.Set();
    PostThreadMessageW(threadId, WM_NULL, 0, 0);
    doneEvent.WaitForever();
    thread.join();
}

// The blocks and both voice pools, made by Open.
void SoundSystem::ReleaseBuffers() {
    mixBuffer.reset();
    currentBlock = nullptr;
    moduleVoices.reset();
    moduleVoiceCount = 0;
    sampleVoices.reset();
    sampleVoiceCount = 0;
}

uint32_t SoundSystem::PlaySample(const Sample& sample) {
    if (!open || !sample.data) return NoVoice;
    std::lock_guard<std::mutex> hold(lock);
    for (uint32_t i = 0; i < sampleVoiceCount; ++i) {
        SampleVoice& voice = sampleVoices[i];
        // Free: stopped and not paused. A voice stopped while paused is never reused.
        if (!voice.stopped.load(relaxed) || voice.paused.load(relaxed)) continue;
        voice.data = sample.data;
        voice.step = (sample.rate * 65536u) / (rate * 256u);
        voice.position = 0;
        voice.end = sample.length * 256u;
        voice.loop.store(sample.loop, relaxed);
        voice.pan.store(sample.pan, relaxed);
        voice.SetVolume(int32_t(sample.volume));
        voice.paused.store(false, relaxed);
        voice.stopped.store(false, relaxed);
        return moduleVoiceCount + i;
    }
    return NoVoice;
}

Voice* SoundSystem::GetVoice(uint32_t handle) {
    if (handle < moduleVoiceCount) return &moduleVoices[handle];
    if (handle - moduleVoiceCount < sampleVoiceCount) return &sampleVoices[handle - moduleVoiceCount];
    return nullptr;
}

uint32_t SoundSystem::GetModuleVoiceCount() const { return moduleVoiceCount; }
uint32_t SoundSystem::GetSampleVoiceCount() const { return sampleVoiceCount; }

uint32_t SoundSystem::CountPlayingModules() const {
    uint32_t count = 0;
    for (uint32_t i = 0; i < moduleVoiceCount; ++i) count += moduleVoices[i].IsPlaying() ? 1 : 0;
    return count;
}

uint32_t SoundSystem::CountPlayingSamples() const {
    uint32_t count = 0;
    for (uint32_t i = 0; i < sampleVoiceCount; ++i) count += sampleVoices[i].IsPlaying() ? 1 : 0;
    return count;
}

template <typename Each>
void SoundSystem::ForSampleVoices(Each each) {
    if (!open) return;
    std::lock_guard<std::mutex> hold(lock);
    for (uint32_t i = 0; i < sampleVoiceCount; ++i) each(sampleVoices[i]);
}

template <typename Each>
void SoundSystem::ForModuleVoices(Each each) {
    if (!open) return;
    std::lock_guard<std::mutex> hold(lock);
    for (uint32_t i = 0; i < moduleVoiceCount; ++i) each(moduleVoices[i]);
}

void SoundSystem::StopAllSamples() {
    ForSampleVoices([](Voice& v) { v.Stop(); });
}
void SoundSystem::StopAllModules() {
    ForModuleVoices([](Voice& v) { v.Stop(); });
}
void SoundSystem::PauseAllSamples() {
    ForSampleVoices([](Voice& v) { v.Pause(); });
}
void SoundSystem::PauseAllModules() {
    ForModuleVoices([](Voice& v) { v.Pause(); });
}
void SoundSystem::ResumeAllSamples() {
    ForSampleVoices([](Voice& v) { v.Resume(); });
}
void SoundSystem::ResumeAllModules() {
    ForModuleVoices([](Voice& v) { v.Resume(); });
}

void SoundSystem::SetSampleMasterVolume(int32_t volume) {
    sampleMasterVolume.store(VolumeOrFull(volume), relaxed);
    for (uint32_t i = 0; i < sampleVoiceCount; ++i)
        sampleVoices[i].SetVolume(int32_t(sampleVoices[i].volume.load(relaxed)));
}

void SoundSystem::SetModuleMasterVolume(int32_t volume) {
    moduleMasterVolume.store(VolumeOrFull(volume), relaxed);
    for (uint32_t i = 0; i < moduleVoiceCount; ++i)
        moduleVoices[i].SetVolume(int32_t(moduleVoices[i].volume.load(relaxed)));
}

uint32_t SoundSystem::GetSampleMasterVolume() const { return sampleMasterVolume.load(relaxed); }
uint32_t SoundSystem::GetModuleMasterVolume() const { return moduleMasterVolume.load(relaxed); }
