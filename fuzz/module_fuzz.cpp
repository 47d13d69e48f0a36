// Fuzz target of the module player: any bytes as a PTMOD resource, played in place for
// a second at each output rate (three in all), in stereo or mono, looping or not. Every
// read stays inside the bytes given and no frame can sum beyond four full channels.
#include <cstdint>
#include <cstdlib>

#include "platform/resource_entry.h"
#include "platform/resources.h"
#include "sound/module.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"

namespace {
constexpr uint32_t SecondsPerRate = 1;
constexpr int32_t FrameLimit = 4 * 64 * 128;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1u << 20) return 0;

    const ResourceEntry entry{"PTMOD", 4343, data, size};
    SetExtraResources(&entry, 1);
    Module module;
    bool loaded = module.LoadFromResource(ProgramInstance(), 4343);
    SetExtraResources(nullptr, 0);
    if (!loaded) return 0;
    if (module.data != data || module.size != size) std::abort();

    // The play settings come from the size and first byte, so the corpus walks them too.
    module.SetLoop(size & 1);
    module.SetPan(size ? data[0] : 255);
    std::atomic<uint32_t> master{64};
    for (uint32_t rate : {11025u, 22050u, 44100u}) {
        ModuleVoice voice;
        voice.masterVolume = &master;
        voice.stereo = (size >> 1) & 1;
        voice.Start(module, StepTableFor(rate), rate);
        for (uint32_t frame = 0; frame < SecondsPerRate * rate && !voice.stopped.load(); ++frame) {
            int32_t left = 0, right = 0;
            voice.MixFrame(left, right);
            if (std::abs(left) + std::abs(right) > FrameLimit) std::abort();
        }
    }
    return 0;
}
