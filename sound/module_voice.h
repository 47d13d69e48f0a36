// A module voice: plays one four-channel tracker module inside the mixing pass,
// running its own sequencer (ticks, rows, effects) one output frame at a time.
#pragma once
#include <cstdint>
#include "voice.h"

class Module;

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

    // The sequencer and channel fields follow here (module player).
};
