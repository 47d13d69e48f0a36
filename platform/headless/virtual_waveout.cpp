// The headless audio device. Blocks play back to back at the format's rate as virtual
// time passes; each finished block goes back to the mixing thread, and the clock
// waits until it has been written again, so the sound is the same on every run.
#include "platform/headless/virtual_waveout.h"
#include <cstdio>
#include <optional>
#include <vector>
#include "platform/byte_order.h"
#include "platform/time_listeners.h"
#include "platform/waveout_device.h"

namespace {

struct VirtualDevice {
    bool paused = false;
    int listener = -1;
    // Frame-milliseconds of play time not yet spent on the block in play.
    uint64_t budget = 0;
    std::optional<QueuedBlock> playing;
};

// What is being recorded for --audio-out; never destroyed, so a device closed by a
// global destructor at exit still has it.
struct Recording {
    std::string path;
    bool on = false;
    std::vector<uint8_t> bytes;
    WAVEFORMATEX format{};
    bool haveFormat = false;
};
Recording& Rec() {
    static Recording* recording = new Recording;
    return *recording;
}

void TimePassed(WaveOutDevice* device, uint32_t from, uint32_t to) {
    auto* state = static_cast<VirtualDevice*>(device->backendData);
    if (state->paused) return;
    state->budget += uint64_t(uint32_t(to - from)) * device->format.nSamplesPerSec;
    for (;;) {
        if (!state->playing) {
            state->playing = WaveOutTakeBlock(device);
            // Nothing queued: the device idles and no play time is saved up.
            if (!state->playing) {
                state->budget = 0;
                return;
            }
        }
        const uint64_t frames = state->playing->length / device->format.nBlockAlign;
        const uint64_t need = frames * 1000;
        if (state->budget < need) return;
        state->budget -= need;
        QueuedBlock done = *state->playing;
        state->playing.reset();
        if (Rec().on) Rec().bytes.insert(Rec().bytes.end(), done.bytes, done.bytes + done.length);
        const uint64_t writes = WaveOutWriteCount(device);
        WaveOutBlockDone(device, done);
        WaveOutWaitForWrite(device, writes);
    }
}

class VirtualWaveOut : public WaveOutBackend {
public:
    UINT DeviceCount() override { return 1; }

    bool OpenDevice(WaveOutDevice* device, const WAVEFORMATEX& format) override {
        auto* state = new VirtualDevice;
        device->backendData = state;
        state->listener = AddTimeListener([device](uint32_t from, uint32_t to) { TimePassed(device, from, to); });
        if (!Rec().haveFormat) {
            Rec().format = format;
            Rec().haveFormat = true;
        }
        return true;
    }

    void CloseDevice(WaveOutDevice* device) override {
        auto* state = static_cast<VirtualDevice*>(device->backendData);
        RemoveTimeListener(state->listener);
        delete state;
        device->backendData = nullptr;
    }

    void SetPaused(WaveOutDevice* device, bool paused) override {
        static_cast<VirtualDevice*>(device->backendData)->paused = paused;
    }

    void BlockQueued(WaveOutDevice*) override {}

    void ResetDevice(WaveOutDevice* device) override {
        auto* state = static_cast<VirtualDevice*>(device->backendData);
        if (state->playing) WaveOutBlockDone(device, *state->playing);
        state->playing.reset();
        state->budget = 0;
    }

    // Blocks play as virtual time passes, whatever the thread's priority: nothing to ask.
    bool SetCurrentThreadPriority(int) override { return false; }
};

VirtualWaveOut virtualWaveOut;

}  // namespace

void UseVirtualWaveOut() { SetWaveOutBackend(&virtualWaveOut); }

void SetVirtualAudioOut(const std::string& path) {
    Recording& rec = Rec();
    rec.path = path;
    rec.on = !path.empty();
    rec.bytes.clear();
    rec.haveFormat = false;
}

bool FinishVirtualAudioOut() {
    Recording& rec = Rec();
    if (!rec.on) return true;
    const std::vector<uint8_t>& recorded = rec.bytes;
    // Nothing was ever opened: an empty file in the game's own format.
    WAVEFORMATEX f = rec.format;
    if (!rec.haveFormat) f = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    std::vector<uint8_t> file;
    AppendTag(file, "RIFF");
    AppendU32LE(file, uint32_t(36 + recorded.size() + (recorded.size() & 1)));
    AppendTag(file, "WAVE");
    AppendTag(file, "fmt ");
    AppendU32LE(file, 16);
    AppendU16LE(file, f.wFormatTag);
    AppendU16LE(file, f.nChannels);
    AppendU32LE(file, f.nSamplesPerSec);
    AppendU32LE(file, f.nAvgBytesPerSec);
    AppendU16LE(file, f.nBlockAlign);
    AppendU16LE(file, f.wBitsPerSample);
    AppendTag(file, "data");
    AppendU32LE(file, uint32_t(recorded.size()));
    file.insert(file.end(), recorded.begin(), recorded.end());
    if (recorded.size() & 1) file.push_back(0);
    FILE* out = std::fopen(rec.path.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = (std::fclose(out) == 0) && ok;
    rec.on = false;
    std::vector<uint8_t>().swap(rec.bytes);
    return ok;
}
