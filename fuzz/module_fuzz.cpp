// Fuzz target of the module player: any bytes as a PTMOD resource, played in place for
// a second at each output rate (three in all), in stereo or mono, looping or not. Every
// read stays inside the bytes given and no frame can sum beyond four full channels. The
// same bytes go through glimmo-modplay's check of a file first.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/resource_entry.h"
#include "platform/resources.h"
#include "sound/module.h"
#include "sound/module_file.h"
#include "sound/module_image.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"

namespace {
constexpr uint32_t SecondsPerRate = 1;
constexpr int32_t FrameLimit = 4 * 64 * 128;

// One second of the song at one rate, every frame's sums checked. Kept out of line so
// the fuzzing build can leave this per-frame loop untraced.
[[gnu::noinline]] void RenderFrames(const Module& module, uint32_t rate, uint32_t stereo) {
    std::atomic<uint32_t> master{64};
    ModuleVoice voice;
    voice.masterVolume = &master;
    voice.stereo = stereo;
    voice.Start(module, StepTableFor(rate), rate);
    int32_t left, right;  // outside the loop: no stack poisoning per frame
    for (uint32_t frame = 0; frame < SecondsPerRate * rate && !voice.stopped.load(); ++frame) {
        left = right = 0;
        voice.MixFrame(left, right);
        if (std::abs(left) + std::abs(right) > FrameLimit) std::abort();
    }
}

// glimmo-modplay's check: what it accepts has a four-channel signature and holds every
// pattern its song plays; what it refuses, it says why.
void CheckTheCommandsVerdict(const uint8_t* data, size_t size) {
    const std::string why = WhyNotAModule(data, size);
    if (!why.empty()) return;
    if (size < ModulePatternsAt) std::abort();
    const std::string tag(reinterpret_cast<const char*>(data) + ModuleTagAt, 4);
    if (tag != "M.K." && tag != "M!K!" && tag != "FLT4" && tag != "4CHN") std::abort();
    if (size < ModulePatternsAt + size_t(ImagePatternCount(data, size)) * ModulePatternBytes) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1u << 20) return 0;
    CheckTheCommandsVerdict(data, size);

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
    for (uint32_t rate : {11025u, 22050u, 44100u}) RenderFrames(module, rate, (size >> 1) & 1);
    return 0;
}
