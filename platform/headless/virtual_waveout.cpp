// The headless audio device. Blocks play back to back at the format's rate as virtual
// time passes; each finished block is handed back, and the clock waits until it has
// been written again, so the sound is the same on every run.
#include "platform/headless/virtual_waveout.h"
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>
#include "platform/byte_order.h"
#include "platform/headless/time_listeners.h"
#include "platform/waveout_device.h"

namespace {

// The most of a clock's move that is mixed when the sound is not written out: more than
// the ring of blocks holds, so every block queued plays and comes back as it would.
constexpr uint32_t UnheardSpanMs = 1000;

struct VirtualDevice {
    bool paused = false;
    int listener = -1;
    // Frame-milliseconds of play time not yet spent on the block in play.
    uint64_t budget = 0;
    std::optional<QueuedBlock> playing;
};

// What is being recorded for --audio-out: the file, written as the blocks play; never
// destroyed, so a device closed by a global destructor at exit still has it.
struct Recording {
    std::string path;
    FILE* file = nullptr;
    uint64_t data = 0;     // sample bytes written so far
    uint64_t largest = 0;  // where the recording stops
    bool cut = false;      // it stopped there
    int error = 0;         // the first failed write's errno
    bool seekable = true;  // else a pipe: the header goes first, with the largest sizes
    bool headerDone = false;
    WAVEFORMATEX format{};
    bool haveFormat = false;
};
Recording& Rec() {
    static Recording* recording = new Recording;
    return *recording;
}

// The 44-byte header of a WAV file of `data` sample bytes (with the pad byte of an odd size).
std::vector<uint8_t> WavHeader(const WAVEFORMATEX& f, uint64_t data) {
    std::vector<uint8_t> h;
    AppendTag(h, "RIFF");
    AppendU32LE(h, uint32_t(36 + data + (data & 1)));
    AppendTag(h, "WAVE");
    AppendTag(h, "fmt ");
    AppendU32LE(h, 16);
    AppendU16LE(h, f.wFormatTag);
    AppendU16LE(h, f.nChannels);
    AppendU32LE(h, f.nSamplesPerSec);
    AppendU32LE(h, f.nAvgBytesPerSec);
    AppendU16LE(h, f.nBlockAlign);
    AppendU16LE(h, f.wBitsPerSample);
    AppendTag(h, "data");
    AppendU32LE(h, uint32_t(data));
    return h;
}

// The header at the start of the file: the real sizes once known; on a pipe, which
// cannot be rewound, the largest before any sound, as streamed WAV files have.
bool WriteHeader(Recording& rec, uint64_t data) {
    if (!rec.haveFormat) rec.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    const std::vector<uint8_t> header = WavHeader(rec.format, data);
    if (rec.headerDone && std::fseek(rec.file, 0, SEEK_SET) != 0) return false;
    rec.headerDone = true;
    return std::fwrite(header.data(), 1, header.size(), rec.file) == header.size();
}

void Record(const uint8_t* bytes, uint32_t length) {
    Recording& rec = Rec();
    if (!rec.file || rec.cut || rec.error) return;
    if (!rec.headerDone && !WriteHeader(rec, rec.seekable ? 0 : rec.largest)) {
        rec.error = errno ? errno : EIO;
        return;
    }
    uint64_t room = rec.largest - rec.data;
    uint64_t take = length;
    if (take > room) {
        // Whole frames only, up to the limit; the rest of the run goes unrecorded.
        const uint64_t frame = rec.format.nBlockAlign ? rec.format.nBlockAlign : 1;
        take = room - room % frame;
        rec.cut = true;
    }
    if (take && std::fwrite(bytes, 1, size_t(take), rec.file) != take) {
        rec.error = errno ? errno : EIO;
        return;
    }
    rec.data += take;
}

// Whether the blocks played are being written out.
bool WritingOut() {
    const Recording& rec = Rec();
    return rec.file && !rec.cut && !rec.error;
}

void TimePassed(WaveOutDevice* device, uint32_t from, uint32_t to) {
    auto* state = static_cast<VirtualDevice*>(device->backendData);
    if (state->paused) return;
    uint32_t span = to - from;
    // Sound nobody hears is not mixed for a long jump of the clock (a replayed game whose
    // machine was suspended for days): the ring's blocks go round a few times and the rest
    // of the jump passes in silence, which the game cannot tell from sound.
    if (!WritingOut()) span = std::min(span, UnheardSpanMs);
    state->budget += uint64_t(span) * device->format.nSamplesPerSec;
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
        Record(done.bytes, done.length);
        WaveOutHandBack(device, done);
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

bool SetVirtualAudioOut(const std::string& path, uint64_t largestData) {
    Recording& rec = Rec();
    if (rec.file) std::fclose(rec.file);
    rec = Recording{};
    rec.path = path;
    rec.largest = largestData;
    rec.file = std::fopen(path.c_str(), "wb");
    if (!rec.file) return false;
    rec.seekable = lseek(fileno(rec.file), 0, SEEK_CUR) >= 0;
    // A big buffer, few writes; the memory used stays that whatever the run's length.
    std::setvbuf(rec.file, nullptr, _IOFBF, 1 << 16);
    return true;
}

int VirtualAudioOutError() { return Rec().file ? Rec().error : 0; }

double VirtualAudioOutCutAt() {
    const Recording& rec = Rec();
    return rec.cut && rec.format.nAvgBytesPerSec ? double(rec.data) / rec.format.nAvgBytesPerSec : 0;
}

bool FinishVirtualAudioOut() {
    Recording& rec = Rec();
    if (!rec.file) return true;
    int error = rec.error;
    if (!error && (rec.data & 1) && std::fputc(0, rec.file) == EOF) error = errno;
    // Nothing was ever played: an empty file, in the game's own format if no device opened.
    if (!error && (rec.seekable || !rec.headerDone) && !WriteHeader(rec, rec.data)) error = errno ? errno : EIO;
    if (std::fclose(rec.file) != 0 && !error) error = errno ? errno : EIO;
    rec.file = nullptr;
    errno = error;
    return error == 0;
}

SoundRecorder& VirtualSoundRecorder() {
    class Recorder : public SoundRecorder {
    public:
        bool Start(const std::string& path) override { return SetVirtualAudioOut(path); }
        int Error() override { return VirtualAudioOutError(); }
        double CutAt() override { return VirtualAudioOutCutAt(); }
        bool Finish() override { return FinishVirtualAudioOut(); }
    };
    static Recorder recorder;
    return recorder;
}
