// WebAudio output. Each block is copied into an AudioBuffer and scheduled right after the
// one before, keeping five blocks queued. A block the browser needed (the one before had
// finished playing) that was not ready is an underrun; the page keeps the count, with the
// blocks played and those not silent, in window.glimmoAudio (lateAt: when the first
// hundred underruns came and how late, both in ms).
#include "platform/web/web_waveout.h"
#include <emscripten.h>
#include "platform/waveout_device.h"
#include "platform/web/web_threads.h"

namespace {
// How far ahead of the browser the blocks are kept: five blocks of 27 ms, the whole ring
// of blocks the desktop keeps queued.
constexpr double LeadSeconds = 0.135;

// clang-format off
EM_JS(int, web_audio_open, (), {
    const audio = { ctx: null, next: 0, idleNext: 0, started: false, blocks: 0, loud: 0, underruns: 0, lateAt: [] };
    window.glimmoAudio = audio;
    try {
        audio.ctx = new (window.AudioContext || window.webkitAudioContext)();
    } catch (e) {
        console.log('glimmo: no audio (' + e + '); the game plays silent');
        return 0;
    }
    // Browsers start audio only after a gesture: the first key, click or touch resumes it
    // (a touch counts as one only when the finger lifts).
    const resume = () => { if (audio.ctx.state !== 'running') audio.ctx.resume(); };
    window.addEventListener('keydown', resume, true);
    window.addEventListener('pointerdown', resume, true);
    window.addEventListener('pointerup', resume, true);
    return 1;
});

// Seconds of sound queued ahead of what plays now.
EM_JS(double, web_audio_lead, (), {
    const audio = window.glimmoAudio;
    if (audio.ctx.state === 'running') return audio.next - audio.ctx.currentTime;
    return audio.idleNext - performance.now() / 1000;
});

EM_JS(void, web_audio_play, (const uint8_t* bytes, int frames, int channels, int rate, int loud), {
    const audio = window.glimmoAudio;
    const seconds = frames / rate;
    audio.blocks++;
    if (loud) audio.loud++;
    if (audio.ctx.state !== 'running') {
        // Stopped by the browser: the block passes in silence, in its own time.
        audio.idleNext = Math.max(audio.idleNext, performance.now() / 1000) + seconds;
        audio.started = false;
        return;
    }
    const now = audio.ctx.currentTime;
    if (audio.next < now) {
        // The block before has already ended: a gap, unless the sound was only starting
        // or the tab is hidden (the browser then runs the page's timers seldom).
        if (audio.started && !document.hidden) {
            audio.underruns++;
            if (audio.lateAt.length < 100) audio.lateAt.push([Math.round(performance.now()), Math.round((now - audio.next) * 1000)]);
        }
        audio.next = now + 0.01;
    }
    const buffer = audio.ctx.createBuffer(channels, frames, rate);
    for (let c = 0; c < channels; ++c) {
        const out = buffer.getChannelData(c);
        for (let i = 0; i < frames; ++i) out[i] = (HEAPU8[bytes + i * channels + c] - 128) / 128;
    }
    const source = audio.ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.ctx.destination);
    source.start(audio.next);
    audio.next += seconds;
    audio.started = true;
});

// Paused output: what is queued plays out, and the gap that follows is no underrun.
EM_JS(void, web_audio_paused, (), { window.glimmoAudio.started = false; });
// clang-format on

WaveOutDevice* openDevice = nullptr;
bool paused = false;

bool Loud(const QueuedBlock& block) {
    for (uint32_t i = 0; i < block.length; ++i)
        if (block.bytes[i] != 0x80) return true;
    return false;
}

class WebWaveOut : public WaveOutBackend {
public:
    UINT DeviceCount() override { return available_ ? 1 : 0; }

    bool OpenDevice(WaveOutDevice* device, const WAVEFORMATEX&) override {
        if (openDevice) return false;
        openDevice = device;
        paused = false;
        return true;
    }
    void CloseDevice(WaveOutDevice* device) override {
        if (openDevice == device) openDevice = nullptr;
    }
    void SetPaused(WaveOutDevice*, bool pause) override {
        paused = pause;
        if (pause) web_audio_paused();
    }
    void BlockQueued(WaveOutDevice*) override {}
    // Every block is given back as soon as it is copied out: none is held here.
    void ResetDevice(WaveOutDevice*) override {}
    // The page has one thread: there is no priority to ask for.
    bool SetCurrentThreadPriority(int) override { return false; }

    bool available_ = false;
};

WebWaveOut webWaveOut;
}  // namespace

void UseWebWaveOut() {
    webWaveOut.available_ = web_audio_open() != 0;
    SetWaveOutBackend(&webWaveOut);
}

void PumpWebAudio() {
    // The mixing thread refills what came back since the last wait.
    RunOtherThreads();
    for (int handed = 0; openDevice && !paused && handed < 8 && web_audio_lead() < LeadSeconds; ++handed) {
        std::optional<QueuedBlock> block = WaveOutTakeBlock(openDevice);
        if (!block) {
            RunOtherThreads();
            block = WaveOutTakeBlock(openDevice);
            if (!block) break;
        }
        const WAVEFORMATEX& format = openDevice->format;
        web_audio_play(block->bytes, int(block->length / format.nBlockAlign), format.nChannels,
                       int(format.nSamplesPerSec), Loud(*block) ? 1 : 0);
        WaveOutBlockDone(openDevice, *block);
    }
    RunOtherThreads();
}
