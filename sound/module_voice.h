// A module voice: plays one four-channel tracker module inside the mixing pass,
// running its own sequencer (ticks, rows, effects) one output frame at a time.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include "sound/module_image.h"
#include "sound/voice.h"

class Module;

// A frame's two sums in one 64-bit number, left + right x 2^32: each sum stays far inside
// 32 bits, so one multiply-add by the packed gains moves both, and each comes back exact.
constexpr int64_t PackedSums(int32_t left, int32_t right) { return int64_t(left) + int64_t(right) * 4294967296LL; }
inline int32_t LeftSum(int64_t sums) { return int32_t(uint32_t(uint64_t(sums))); }
// The top half, plus the 1 that a negative left sum borrowed from it.
inline int32_t RightSum(int64_t sums) {
    return int32_t(uint32_t(uint64_t(sums) >> 32) + (uint32_t(uint64_t(sums)) >> 31));
}

constexpr int ModuleChannels = 4;
constexpr int ModuleSampleSlots = int(ModuleSamples) + 1;  // slot 0: no sample
constexpr uint32_t NoPendingOrder = 0xFFFFFF;              // no jump or break waiting for the row's end
constexpr uint32_t NoDelay = 0xFFFFFF;                     // no note delay counting down
constexpr uint32_t DelayFires = 0xFFFFFFFF;                // the delay counted down past 0: set the note now

class ModuleVoice : public Voice {
public:
    ModuleVoice();
    void SetVolume(int32_t volume) override;
    void SetPan(int32_t separation) override;

    // Starts the module's song on this voice (the caller holds the mixer's lock).
    void Start(const Module& module, const uint16_t* stepTable, uint32_t outputRate);
    // Advances the sequencer by one output frame and adds the four channels to the
    // sums. When a song without loop ends the voice stops itself and adds nothing.
    void MixFrame(int32_t& left, int32_t& right);
    // The same for a run of frames, each added to its own packed sums (PackedSums; right
    // stays 0 in mono); the voice stops itself at the end of a song without loop and
    // adds nothing from that frame on.
    void MixRun(int64_t* sums, uint32_t frames);

    // The song.
    const uint8_t* data = nullptr;
    const uint8_t* patterns = nullptr;
    size_t dataSize = 0;
    const uint16_t* steps = nullptr;  // the step table of the output rate
    uint32_t rate = 22050;
    uint32_t stereo = 1;      // PlayModule copies the mixer's; mono adds to left only
    uint32_t songLength = 1;  // 1..128
    uint8_t orders[ModuleOrderCount] = {};

    // The sequencer.
    uint32_t pattern = 0;
    uint32_t row = 0;
    uint32_t order = 0;
    uint32_t restart = 0;
    uint32_t samplesPerTick = 0;
    uint32_t frameCounter = 0;
    uint32_t speed = 6;
    uint32_t tick = 6;

    // Channels. Volume, effective volume and pan are also written by the game thread
    // (master volume, separation), so they are atomics.
    int32_t period[ModuleChannels] = {};
    uint32_t sample[ModuleChannels] = {};
    uint32_t step[ModuleChannels] = {};
    std::atomic<uint32_t> channelVolume[ModuleChannels] = {};
    std::atomic<uint32_t> effectiveVolume[ModuleChannels] = {};
    uint32_t effect[ModuleChannels] = {};
    uint32_t x[ModuleChannels] = {};
    uint32_t y[ModuleChannels] = {};
    uint32_t parameter[ModuleChannels] = {};
    uint32_t position[ModuleChannels] = {};
    std::atomic<uint32_t> channelPan[ModuleChannels] = {};

    // Samples 0..31: lengths and loops in bytes x 256.
    uint32_t sampleLength[ModuleSampleSlots] = {};
    uint32_t loopStart[ModuleSampleSlots] = {};
    uint32_t loopLength[ModuleSampleSlots] = {};
    uint32_t sampleVolume[ModuleSampleSlots] = {};
    uint32_t finetune[ModuleSampleSlots] = {};
    const int8_t* sampleData[ModuleSampleSlots] = {};

    // Effect memories.
    int32_t volumeSlide[ModuleChannels] = {};
    int32_t portaPeriod[ModuleChannels] = {};
    int32_t portaTarget[ModuleChannels] = {};
    uint32_t portaSpeed[ModuleChannels] = {};
    uint32_t arpeggioCounter[ModuleChannels] = {};
    uint32_t arpeggioStep0[ModuleChannels] = {};
    uint32_t arpeggioStep1[ModuleChannels] = {};
    uint32_t arpeggioStep2[ModuleChannels] = {};
    uint32_t vibratoPosition[ModuleChannels] = {};
    uint32_t vibratoSpeed[ModuleChannels] = {};
    uint32_t vibratoDepth[ModuleChannels] = {};
    uint32_t delayCount[ModuleChannels] = {};
    uint32_t delayPeriod[ModuleChannels] = {};
    uint32_t cutCount[ModuleChannels] = {};

    uint32_t pendingOrder = NoPendingOrder;
    uint32_t pendingRow = NoPendingOrder;
    uint32_t patternDelay = 0;
    // The position moved past the end of a song that does not loop: the voice stops at
    // the next row time, so the last row is heard whole.
    bool songEnded = false;

private:
    // What the mixer needs of each channel's sample, taken from the sample tables when the
    // channel's sample changes, so a frame reads one channel's fields and nothing else.
    const int8_t* channelData[ModuleChannels] = {};
    uint32_t channelLength[ModuleChannels] = {};
    uint32_t channelLoopEnd[ModuleChannels] = {};  // no loop: never reached
    uint32_t channelLoopLength[ModuleChannels] = {};
    void BindSample(int c);

    bool SequencerStep();  // false when the song ended in this frame
    void ReadRow();
    void RowEffect(int c, uint32_t cellPeriod);
    void TickEffect(int c);
    void MovePosition();  // sets songEnded past the end of a song without loop
    void MixChannels(int64_t* sums, uint32_t frames);
    void RecomputeVolume(int c);
    void SetChannelVolume(int c, uint32_t volume);
    uint32_t StepOf(int32_t period) const;
    // sampleNumber: 0 or a number checked when its row was read (IsValidSampleNumber).
    int32_t FinetunedPeriod(int32_t period, uint32_t sampleNumber) const;
    void SlideVolume(int c);
};

inline void ModuleVoice::SetChannelVolume(int c, uint32_t v) {
    channelVolume[c].store(v, std::memory_order_relaxed);
    RecomputeVolume(c);
}

// One frame of the song: a run of one.
inline void ModuleVoice::MixFrame(int32_t& left, int32_t& right) {
    int64_t sums = 0;
    MixRun(&sums, 1);
    left += LeftSum(sums);
    right += RightSum(sums);
}

// Frames inside a tick change nothing but the channels' positions, so the run is cut at
// tick boundaries and each stretch is mixed channel by channel.
inline void ModuleVoice::MixRun(int64_t* sums, uint32_t frames) {
    uint32_t done = 0;
    while (done < frames) {
        uint32_t stretch;
        // Most frames are inside a tick: count them and mix.
        if (tick != speed && frameCounter != samplesPerTick) {
            stretch = samplesPerTick - frameCounter;  // frames until the counter meets the tick's end
            if (stretch > frames - done) stretch = frames - done;
            frameCounter += stretch;
        } else if (!SequencerStep()) {
            stopped.store(true, std::memory_order_relaxed);
            return;
        } else {
            stretch = 1;
        }
        MixChannels(sums + done, stretch);
        done += stretch;
    }
}

// One channel over a stretch, its gains packed as the sums are.
inline uint32_t MixChannelStretch(const int8_t* bytes, uint32_t at, uint32_t stepBy, uint32_t length, uint32_t loopEnd,
                                  uint32_t loopLength, int64_t gains, int64_t* sums, uint32_t frames) {
    // Below both the loop's end and the sample's, a frame needs neither check.
    const uint32_t clear = loopEnd < length ? loopEnd : length;
    for (uint32_t f = 0; f < frames; ++f) {
        if (at >= clear) {
            if (at >= loopEnd) at -= loopLength;
            if (at >= length) continue;  // past the end of a sample without loop: silent
        }
        sums[f] += gains * bytes[at >> 8];
        at += stepBy;
    }
    return at;
}

inline void ModuleVoice::MixChannels(int64_t* sums, uint32_t frames) {
    for (int c = 0; c < ModuleChannels; ++c) {
        const int8_t* bytes = channelData[c];
        if (!bytes) continue;
        // Volume and pan are read as the stretch starts: it is mixed in well under a
        // millisecond, so a change still lands as soon as it would frame by frame.
        const int32_t v = int32_t(effectiveVolume[c].load(std::memory_order_relaxed));
        const int32_t r = stereo ? (int32_t(channelPan[c].load(std::memory_order_relaxed)) * v) >> 8 : 0;
        const int64_t gains = stereo ? PackedSums(v - r, r) : PackedSums(v, 0);
        position[c] = MixChannelStretch(bytes, position[c], step[c], channelLength[c], channelLoopEnd[c],
                                        channelLoopLength[c], gains, sums, frames);
    }
}
