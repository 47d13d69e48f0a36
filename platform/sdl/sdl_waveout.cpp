// The wave-out device on SDL audio: 8-bit unsigned at the format's channels and rate,
// a 256-frame device buffer fed from the queued blocks in order; each block used up
// goes back to the mixing thread. No audio device: no wave-out devices, one line said.
// SDL is called through a table (sdl_audio_calls.h), which a program may fill by loading it.
#include "platform/sdl/sdl_waveout.h"
#include <atomic>
#include <cstdio>
#include <cstring>
#include <optional>
#include "platform/sdl/quiet_alsa.h"
#include "platform/sdl/sdl_audio_calls.h"
#include "platform/threads.h"
#include "platform/waveout_device.h"

namespace {

// The window's mute: the blocks are played through at their pace, heard as silence.
std::atomic<bool> outputMuted{false};

struct SdlDevice {
    SDL_AudioDeviceID id = 0;
    std::optional<QueuedBlock> playing;  // touched only with the device locked
    uint32_t offset = 0;
};

// The audio thread: copy from the blocks in queue order, silence when none waits.
void FillAudio(void* userdata, Uint8* stream, int bytes) {
    auto* device = static_cast<WaveOutDevice*>(userdata);
    auto* state = static_cast<SdlDevice*>(device->backendData);
    int at = 0;
    while (at < bytes) {
        if (!state->playing) {
            state->playing = WaveOutTakeBlock(device);
            state->offset = 0;
            if (!state->playing) break;
        }
        uint32_t left = state->playing->length - state->offset;
        uint32_t take = std::min<uint32_t>(left, uint32_t(bytes - at));
        std::memcpy(stream + at, state->playing->bytes + state->offset, take);
        at += int(take);
        state->offset += take;
        if (state->offset >= state->playing->length) {
            WaveOutBlockDone(device, *state->playing);
            state->playing.reset();
        }
    }
    if (outputMuted.load(std::memory_order_relaxed)) at = 0;
    if (at < bytes) std::memset(stream + at, 0x80, size_t(bytes - at));
}

class SdlWaveOut : public WaveOutBackend {
public:
    UINT DeviceCount() override {
        if (!tried_) {
            tried_ = true;
            std::string why;
            sdl_ = SdlAudio(why);
            priorityCalls_.store(sdl_);
            QuietAlsa quiet;
            if (!sdl_) {
                std::fprintf(stderr, "glimmo: no audio device (%s); playing silent\n", why.c_str());
            } else if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
                std::fprintf(stderr, "glimmo: no audio device (%s); playing silent\n", sdl_->GetError());
            } else {
                working_ = true;
            }
        }
        return working_ ? 1 : 0;
    }

    bool OpenDevice(WaveOutDevice* device, const WAVEFORMATEX& format) override {
        SDL_AudioSpec want{};
        want.freq = int(format.nSamplesPerSec);
        want.format = AUDIO_U8;
        want.channels = Uint8(format.nChannels);
        want.samples = 256;
        want.callback = FillAudio;
        want.userdata = device;
        auto* state = new SdlDevice;
        device->backendData = state;
        SDL_AudioSpec got{};
        {
            QuietAlsa quiet;
            state->id = sdl_->OpenAudioDevice(nullptr, 0, &want, &got, 0);
        }
        if (state->id == 0) {
            if (!reported_) {
                reported_ = true;
                std::fprintf(stderr, "glimmo: the audio device would not open (%s); playing silent\n",
                             sdl_->GetError());
            }
            delete state;
            device->backendData = nullptr;
            return false;
        }
        return true;
    }

    void CloseDevice(WaveOutDevice* device) override {
        auto* state = static_cast<SdlDevice*>(device->backendData);
        sdl_->CloseAudioDevice(state->id);
        delete state;
        device->backendData = nullptr;
    }

    void SetPaused(WaveOutDevice* device, bool paused) override {
        sdl_->PauseAudioDevice(static_cast<SdlDevice*>(device->backendData)->id, paused ? 1 : 0);
    }

    void BlockQueued(WaveOutDevice*) override {}

    void ResetDevice(WaveOutDevice* device) override {
        auto* state = static_cast<SdlDevice*>(device->backendData);
        sdl_->LockAudioDevice(state->id);
        if (state->playing) WaveOutBlockDone(device, *state->playing);
        state->playing.reset();
        while (auto block = WaveOutTakeBlock(device)) WaveOutBlockDone(device, *block);
        sdl_->UnlockAudioDevice(state->id);
    }

    // SDL changes only its caller: on Linux by a lower nice value where that is allowed,
    // or through the system's real-time kit where one runs. A refusal is not reported.
    bool SetCurrentThreadPriority(int priority) override {
        // Asked from the mixing thread, which may start while the device is first looked for.
        const SdlAudioCalls* sdl = priorityCalls_.load();
        if (!sdl) return false;
        const SDL_ThreadPriority wanted = priority <= THREAD_PRIORITY_TIME_CRITICAL ? SDL_THREAD_PRIORITY_TIME_CRITICAL
                                          : priority < THREAD_PRIORITY_NORMAL       ? SDL_THREAD_PRIORITY_HIGH
                                          : priority == THREAD_PRIORITY_NORMAL      ? SDL_THREAD_PRIORITY_NORMAL
                                                                                    : SDL_THREAD_PRIORITY_LOW;
        return sdl->SetThreadPriority(wanted) == 0;
    }

private:
    const SdlAudioCalls* sdl_ = nullptr;                        // set once the device is first asked for
    std::atomic<const SdlAudioCalls*> priorityCalls_{nullptr};  // the same, for the mixing thread
    bool tried_ = false;
    bool working_ = false;
    bool reported_ = false;
};

SdlWaveOut sdlWaveOut;

}  // namespace

void UseSdlWaveOut() { SetWaveOutBackend(&sdlWaveOut); }

void MuteSdlWaveOut(bool muted) { outputMuted.store(muted, std::memory_order_relaxed); }
