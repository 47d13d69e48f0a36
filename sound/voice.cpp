// Voice flags and volumes: written by the game thread, read by the mixer.
#include "sound/voice.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

Voice::Voice() = default;

void Voice::SetVolume(int32_t v) {
    uint32_t kept = VolumeOrFull(v);
    volume.store(kept, relaxed);
    uint32_t master = masterVolume ? masterVolume->load(relaxed) : FullVolume;
    EffectiveVolume.store((master * kept) >> 6, relaxed);
}

void Voice::SetPan(int32_t p) { pan.store(PanOrFull(p), relaxed); }

uint32_t Voice::GetVolume() const { return EffectiveVolume.load(relaxed); }
uint32_t Voice::GetPan() const { return pan.load(relaxed); }
void Voice::SetLoop(bool l) { loop.store(l, relaxed); }
bool Voice::GetLoop() const { return loop.load(relaxed); }
void Voice::Stop() { stopped.store(true, relaxed); }
void Voice::Pause() {
    if (!stopped.load(relaxed)) paused.store(true, relaxed);
}
void Voice::Resume() {
    if (!stopped.load(relaxed)) paused.store(false, relaxed);
}
bool Voice::IsPlaying() const { return !paused.load(relaxed) && !stopped.load(relaxed); }
