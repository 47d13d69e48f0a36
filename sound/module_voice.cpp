// The module voice's set-up and its per-frame work: start a song, follow the master
// volume and stereo separation, and mix the four channels into the frame's sums.
#include "sound/module_voice.h"

#include <algorithm>

#include "sound/module.h"
#include "sound/module_checks.h"
#include "sound/module_image.h"
#include "sound/module_tables.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
// Lengths and loops of the sample headers, in 16-bit words, as 24.8 positions in bytes.
uint32_t WordsAsPosition(uint32_t words) { return words * 2 * 256; }
}  // namespace

ModuleVoice::ModuleVoice() {
    for (int c = 0; c < ModuleChannels; ++c) {
        vibratoPosition[c] = 0;
        vibratoSpeed[c] = 9;
        vibratoDepth[c] = 2;
        portaTarget[c] = 0;
    }
}

void ModuleVoice::SetVolume(int32_t v) {
    Voice::SetVolume(v);
    for (int c = 0; c < ModuleChannels; ++c) RecomputeVolume(c);
}

void ModuleVoice::SetPan(int32_t separation) {
    Voice::SetPan(separation);
    uint32_t d = ((255 - pan.load(relaxed)) * 64) >> 8;
    channelPan[0].store(64 + d, relaxed);
    channelPan[1].store(192 - d, relaxed);
    channelPan[2].store(192 - d, relaxed);
    channelPan[3].store(64 + d, relaxed);
}

void ModuleVoice::RecomputeVolume(int c) {
    effectiveVolume[c].store((channelVolume[c].load(relaxed) * EffectiveVolume.load(relaxed)) >> 6, relaxed);
}

uint32_t ModuleVoice::StepOf(int32_t p) const { return StepOfPeriod(steps, rate, p); }

int32_t ModuleVoice::FinetunedPeriod(int32_t p, uint32_t s) const {
    return int32_t(PeriodAt(finetune[s] * PeriodColumns + NoteIndexOf(p)));
}

void ModuleVoice::Start(const Module& module, const uint16_t* stepTable, uint32_t outputRate) {
    data = module.data;
    dataSize = module.data ? module.size : 0;
    patterns = dataSize > ModulePatternsAt ? data + ModulePatternsAt : nullptr;
    steps = stepTable;
    rate = outputRate != 0 ? outputRate : 22050;

    songLength = ImageSongLength(data, dataSize);
    ByteReader orderList = ImageAt(data, dataSize, ModuleOrdersAt);
    for (size_t i = 0; i < ModuleOrderCount; ++i) orders[i] = orderList.U8();
    uint32_t patternCount = ImagePatternCount(data, dataSize);

    // Sample tables: the data of the samples follows the last pattern, in order.
    sampleData[0] = nullptr;
    finetune[0] = 0;
    size_t sampleStart = ModulePatternsAt + size_t(patternCount) * ModulePatternBytes;
    size_t offset = 0;
    for (uint32_t i = 1; i <= ModuleSamples; ++i) {
        ModuleSampleHeader header = ImageSampleHeader(data, dataSize, i);
        uint32_t words = header.words;
        if (words == 0) {
            sampleData[i] = nullptr;
            continue;
        }
        sampleLength[i] = WordsAsPosition(words);
        loopStart[i] = WordsAsPosition(header.loopStartWords);
        loopLength[i] = header.loopWords > 1 ? WordsAsPosition(header.loopWords) : 0;
        sampleVolume[i] = std::min(header.volume, MaxChannelVolume);
        finetune[i] = header.finetune;
        // A sample cut short by the end of the file keeps what is there; none at all is silent.
        size_t at = sampleStart + offset;
        if (at < dataSize) {
            sampleData[i] = reinterpret_cast<const int8_t*>(data + at);
            size_t available = dataSize - at;
            if (size_t(words) * 2 > available) sampleLength[i] = uint32_t(available) * 256;
        } else {
            sampleData[i] = nullptr;
        }
        offset += size_t(words) * 2;
    }

    samplesPerTick = rate / 50;
    frameCounter = 0;
    speed = 6;
    tick = 6;  // the first frame reads row 0

    order = 0;
    pattern = orders[0];
    row = 0;
    restart = ImageByte(data, dataSize, ModuleRestartAt);
    if (restart == ModuleNoRestart || restart >= songLength) restart = 0;

    pendingOrder = NoPendingOrder;
    pendingRow = NoPendingOrder;
    patternDelay = 0;
    songEnded = false;

    SetPan(int32_t(module.pan));
    for (int c = 0; c < ModuleChannels; ++c) {
        period[c] = 0;
        sample[c] = 0;
        BindSample(c);
    }
    loop.store(module.loop, relaxed);
    SetVolume(int32_t(module.volume));
    paused.store(false, relaxed);
    stopped.store(false, relaxed);
}

void ModuleVoice::BindSample(int c) {
    uint32_t s = sample[c];
    channelData[c] = sampleData[s];
    channelLength[c] = sampleLength[s];
    channelLoopLength[c] = loopLength[s];
    channelLoopEnd[c] = loopLength[s] != 0 ? loopStart[s] + loopLength[s] : UINT32_MAX;
}
