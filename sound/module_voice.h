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

// The audible channels of a run in which none meets the end of its loop or sample: all
// of them added to each frame's sums at once, their fields kept in registers.
template <int Lanes>
inline void MixLanes(int64_t* sums, uint32_t frames, const int8_t* const* bytes, uint32_t* at, const uint32_t* step,
                     const int64_t* gains) {
    const int8_t* b[Lanes];
    uint32_t a[Lanes], s[Lanes];
    int64_t g[Lanes];
    for (int k = 0; k < Lanes; ++k) b[k] = bytes[k], a[k] = at[k], s[k] = step[k], g[k] = gains[k];
    for (uint32_t f = 0; f < frames; ++f) {
        int64_t sum = sums[f];
        for (int k = 0; k < Lanes; ++k) {
            sum += g[k] * b[k][a[k] >> 8];
            a[k] += s[k];
        }
        sums[f] = sum;
    }
    for (int k = 0; k < Lanes; ++k) at[k] = a[k];
}

// The four channels over a stretch, their gains packed as the sums are. At each frame a
// channel whose position has reached its loop's end goes back by the loop's length, and
// one past the end of its sample adds nothing and stays there. Between those moments no
// frame needs a check: the stretch is cut where the first channel meets one, the frames
// before it are mixed for all channels at once, and a channel at volume 0 only moves on.
inline void ModuleVoice::MixChannels(int64_t* sums, uint32_t frames) {
    int lanes = 0;
    int channel[ModuleChannels];
    uint32_t at[ModuleChannels], clear[ModuleChannels];
    int64_t gains[ModuleChannels];
    for (int c = 0; c < ModuleChannels; ++c) {
        if (!channelData[c]) continue;
        // Volume and pan are read as the stretch starts: it is mixed in well under a
        // millisecond, so a change still lands as soon as it would frame by frame.
        const int32_t v = int32_t(effectiveVolume[c].load(std::memory_order_relaxed));
        const int32_t r = stereo ? (int32_t(channelPan[c].load(std::memory_order_relaxed)) * v) >> 8 : 0;
        channel[lanes] = c;
        at[lanes] = position[c];
        clear[lanes] = channelLoopEnd[c] < channelLength[c] ? channelLoopEnd[c] : channelLength[c];
        gains[lanes] = stereo ? PackedSums(v - r, r) : PackedSums(v, 0);
        ++lanes;
    }
    uint32_t f = 0;
    while (f < frames && lanes > 0) {
        // What each channel does at frame f, and how many frames go by before one of
        // them needs a look again.
        uint32_t run = frames - f;
        bool heard[ModuleChannels];
        for (int k = 0; k < lanes; ++k) {
            const int c = channel[k];
            heard[k] = true;
            if (at[k] >= clear[k]) {
                if (at[k] >= channelLoopEnd[c]) at[k] -= channelLoopLength[c];
                if (at[k] >= channelLength[c]) {
                    heard[k] = false;
                    if (at[k] < channelLoopEnd[c]) {
                        // Past the end of a sample without loop: silent from here on.
                        position[c] = at[k];
                        --lanes;
                        for (int j = k; j < lanes; ++j)
                            channel[j] = channel[j + 1], at[j] = at[j + 1], clear[j] = clear[j + 1],
                            gains[j] = gains[j + 1];
                        --k;
                        continue;
                    }
                    run = 1;  // it goes back by the loop once more at the next frame
                    continue;
                }
                if (at[k] >= clear[k]) {
                    run = 1;  // a step longer than the loop: still past its end, heard as it is
                    continue;
                }
            }
            if (step[c] != 0) {
                const uint32_t before = uint32_t((uint64_t(clear[k] - at[k]) + step[c] - 1) / step[c]);
                if (before < run) run = before;
            }
        }
        if (lanes == 0) break;
        const int8_t* loud[ModuleChannels];
        uint32_t loudAt[ModuleChannels], loudStep[ModuleChannels];
        int64_t loudGains[ModuleChannels];
        int audible = 0;
        for (int k = 0; k < lanes; ++k) {
            if (!heard[k]) continue;
            const int c = channel[k];
            if (gains[k] == 0) {
                at[k] += run * step[c];
                continue;
            }
            loud[audible] = channelData[c];
            loudAt[audible] = at[k];
            loudStep[audible] = step[c];
            loudGains[audible] = gains[k];
            ++audible;
        }
        switch (audible) {
            case 1: MixLanes<1>(sums + f, run, loud, loudAt, loudStep, loudGains); break;
            case 2: MixLanes<2>(sums + f, run, loud, loudAt, loudStep, loudGains); break;
            case 3: MixLanes<3>(sums + f, run, loud, loudAt, loudStep, loudGains); break;
            case 4: MixLanes<4>(sums + f, run, loud, loudAt, loudStep, loudGains); break;
            default: break;
        }
        for (int k = 0, j = 0; k < lanes; ++k)
            if (heard[k] && gains[k] != 0) at[k] = loudAt[j++];
        f += run;
    }
    for (int k = 0; k < lanes; ++k) position[channel[k]] = at[k];
}
