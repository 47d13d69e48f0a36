// Starting a module on the lowest free module voice of the mixer.
#include <mutex>

#include "sound/module.h"
#include "sound/sound_system.h"

uint32_t SoundSystem::PlayModule(const Module& module) {
    if (!open || !module.data) return NoVoice;
    std::lock_guard<std::mutex> guard(lock);
    for (uint32_t i = 0; i < moduleVoiceCount; ++i) {
        ModuleVoice& voice = moduleVoices[i];
        if (!voice.stopped.load(std::memory_order_relaxed) || voice.paused.load(std::memory_order_relaxed)) continue;
        voice.stereo = stereo;
        voice.Start(module, stepTable, rate);
        return i;
    }
    return NoVoice;
}
