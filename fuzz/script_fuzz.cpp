// Fuzz target of the headless script reader: any text is either a list of events the
// harness can run (within the clock's reach, `set` within what a game can reach) or a
// refusal naming the line; the first four bytes pick the start tick.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "run/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t startTick = 1000000;
    if (size >= 4) {
        std::memcpy(&startTick, data, 4);
        data += 4;
        size -= 4;
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptEvent> events;
    std::string error;
    bool ok = ParseScript(text, startTick, events, error);
    if (ok != error.empty()) std::abort();  // a refusal always says why, a success never
    if (!ok && error.rfind("script line ", 0) != 0) std::abort();
    for (const ScriptEvent& e : events) {
        switch (e.kind) {
            case ScriptEvent::KeyDown:
            case ScriptEvent::KeyUp:
                if (e.vk <= 0 || e.vk > 255) std::abort();
                break;
            case ScriptEvent::Set:
                // Only values a game can reach.
                if (e.name == "Level"       ? e.value < 1 || e.value > 21
                    : e.name == "DotsEaten" ? e.value < 0 || e.value > 244
                    : e.name == "Score"     ? e.value < 0 || e.value > 9999999
                    : e.name == "Lives"     ? e.value < 0 || e.value > 6
                                            : true)
                    std::abort();
                break;
            case ScriptEvent::Deactivate:
            case ScriptEvent::Close: break;
            default: std::abort();
        }
        if (e.line < 1) std::abort();
        // Every event, a tap's release too, within the reach of the 32-bit virtual clock.
        if (uint32_t(e.tick - startTick) > LastScriptTick) std::abort();
    }
    return 0;
}
