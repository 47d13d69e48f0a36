// The mixing pass: every playing voice summed frame by frame in integer fixed point
// (8.8 steps, 24.8 positions, no interpolation), then shifted, clamped and stored
// as 8-bit unsigned bytes, left first in stereo. The sums are integers, so adding
// the block voice by voice gives the same bytes as adding it frame by frame.
#include "sound/sound_system.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
// The longest block (44100 Hz); a longer one is mixed in pieces of this length.
constexpr uint32_t PieceFrames = 1176;

inline uint8_t ToByte(int32_t sum) {
    const int32_t v = sum >> 7;
    return uint8_t((v > 127 ? 127 : v < -128 ? -128 : v) + 128);
}

// One sample voice over a piece. Its flags, volume and pan are read as the piece
// starts: the piece is mixed in microseconds, so a change made meanwhile by the game
// thread lands as soon as it would frame by frame.
void MixSampleVoice(SampleVoice& voice, bool stereo, int64_t* sums, uint32_t frames) {
    const bool loop = voice.loop.load(relaxed);
    const int32_t v = int32_t(voice.EffectiveVolume.load(relaxed));
    int64_t gains = PackedSums(v, 0);
    if (stereo) {
        const uint32_t pan = voice.pan.load(relaxed);
        if (pan == 128) {
            gains = PackedSums(v, v);
        } else {
            // Off centre the gain doubles, shared out by the pan.
            const int32_t w = 2 * v;
            const int32_t r = int32_t((pan * uint32_t(w)) >> 8);
            gains = PackedSums(w - r, r);
        }
    }
    const uint8_t* data = voice.data;
    const uint32_t step = voice.step, end = voice.end;
    uint32_t position = voice.position;
    for (uint32_t f = 0; f < frames; ++f) {
        // A looping sample starts over with its fraction carried.
        if (position >= end) {
            if (loop) position -= end;
            if (position >= end) {
                voice.Stop();
                break;
            }
        }
        sums[f] += gains * (int32_t(data[position >> 8]) - 128);
        const uint32_t next = position + step;
        if (next < position) {
            // Past 2^32, so past the end of even the longest sample: a loop goes on
            // at its exact place, a sample played once ends at the next frame.
            position = loop ? next - end : end;
        } else {
            position = next;
        }
    }
    voice.position = position;
}
}  // namespace

void SoundSystem::MixBlock() {
    uint8_t* out = currentBlock;
    if (!out) return;
    const bool isStereo = stereo != 0;
    int64_t sums[PieceFrames];

    for (uint32_t from = 0; from < framesPerBlock; from += PieceFrames) {
        const uint32_t frames = framesPerBlock - from < PieceFrames ? framesPerBlock - from : PieceFrames;
        for (uint32_t f = 0; f < frames; ++f) sums[f] = 0;

        // Voices start only under the lock, which this pass holds; one stopped or
        // paused when the piece starts sits it out (the piece takes microseconds).
        for (uint32_t i = 0; i < moduleVoiceCount; ++i) {
            ModuleVoice& voice = moduleVoices[i];
            if (voice.stopped.load(relaxed) || voice.paused.load(relaxed)) continue;
            voice.MixRun(sums, frames);
        }
        for (uint32_t i = 0; i < sampleVoiceCount; ++i) {
            SampleVoice& voice = sampleVoices[i];
            if (voice.stopped.load(relaxed) || voice.paused.load(relaxed)) continue;
            MixSampleVoice(voice, isStereo, sums, frames);
        }

        if (isStereo) {
            // As two plain loops, which the compiler turns into vector instructions.
            int32_t left[PieceFrames], right[PieceFrames];
            for (uint32_t f = 0; f < frames; ++f) {
                const int64_t both = sums[f];
                right[f] = RightSum(both);
                left[f] = LeftSum(both);
            }
            for (uint32_t f = 0; f < frames; ++f) {
                out[2 * f] = ToByte(left[f]);
                out[2 * f + 1] = ToByte(right[f]);
            }
            out += 2 * frames;
        } else {
            for (uint32_t f = 0; f < frames; ++f) out[f] = ToByte(LeftSum(sums[f]));
            out += frames;
        }
    }
}
