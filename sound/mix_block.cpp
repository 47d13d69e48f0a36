// The mixing pass: every playing voice summed frame by frame in integer fixed point
// (8.8 steps, 24.8 positions, no interpolation), then shifted, clamped and stored
// as 8-bit unsigned bytes, left first in stereo.
#include "sound/sound_system.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;

inline uint8_t ToByte(int32_t sum) {
    int32_t v = sum >> 7;
    if (v > 127) v = 127;
    if (v < -128) v = -128;
    return uint8_t(v + 128);
}
}  // namespace

void SoundSystem::MixBlock() {
    uint8_t* out = currentBlock;
    if (!out) return;
    const bool isStereo = stereo != 0;

    // Voices start only under the lock, which this pass holds: one stopped now stays
    // stopped to the end of the block, so only the others need looking at each frame.
    // Their flags are still read frame by frame, as the game thread may stop or pause
    // them at any time.
    ModuleVoice* modules[MaxModuleVoices];
    uint32_t moduleCount = 0;
    for (uint32_t i = 0; i < moduleVoiceCount && moduleCount < MaxModuleVoices; ++i)
        if (!moduleVoices[i].stopped.load(relaxed)) modules[moduleCount++] = &moduleVoices[i];
    SampleVoice* samples[MaxSampleVoices];
    uint32_t sampleCount = 0;
    for (uint32_t i = 0; i < sampleVoiceCount && sampleCount < MaxSampleVoices; ++i)
        if (!sampleVoices[i].stopped.load(relaxed)) samples[sampleCount++] = &sampleVoices[i];

    for (uint32_t frame = 0; frame < framesPerBlock; ++frame) {
        int32_t left = 0;
        int32_t right = 0;
        for (uint32_t i = 0; i < moduleCount; ++i) {
            ModuleVoice& voice = *modules[i];
            if (voice.stopped.load(relaxed) || voice.paused.load(relaxed)) continue;
            voice.MixFrame(left, right);
        }
        for (uint32_t i = 0; i < sampleCount; ++i) {
            SampleVoice& voice = *samples[i];
            if (voice.stopped.load(relaxed) || voice.paused.load(relaxed)) continue;
            // A looping sample starts over with its fraction carried.
            if (voice.loop.load(relaxed) && voice.position >= voice.end) voice.position -= voice.end;
            if (voice.position >= voice.end) {
                voice.Stop();
                continue;
            }
            const int32_t s = int32_t(voice.data[voice.position >> 8]) - 128;
            const int32_t v = int32_t(voice.EffectiveVolume.load(relaxed));
            if (!isStereo) {
                left += v * s;
            } else {
                const uint32_t pan = voice.pan.load(relaxed);
                if (pan == 128) {
                    left += v * s;
                    right += v * s;
                } else {
                    // Off centre the gain doubles, shared out by the pan.
                    const int32_t w = 2 * v;
                    const int32_t r = int32_t((pan * uint32_t(w)) >> 8);
                    left += (w - r) * s;
                    right += r * s;
                }
            }
            const uint32_t next = voice.position + voice.step;
            if (next < voice.position) {
                // Past 2^32, so past the end of even the longest sample: a loop goes on
                // at its exact place, a sample played once ends at the next frame.
                voice.position = voice.loop.load(relaxed) ? next - voice.end : voice.end;
            } else {
                voice.position = next;
            }
        }
        *out++ = ToByte(left);
        if (isStereo) *out++ = ToByte(right);
    }
}
