// The headless script: one event a line, "TICK VERB [ARG]", TICK in ms after the start.
// Verbs: down KEY, up KEY, tap KEY (up 30 ms later), deactivate, close, set NAME VALUE.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "platform/scripted_backend.h"

// The longest script read: a few megabytes, far more than any run needs.
constexpr size_t LargestScript = 4 << 20;
// The last tick of a script, in ms after the start (24.8 days): the virtual clock tells
// events apart by 32-bit differences, so nothing later can be scheduled.
constexpr uint32_t LastScriptTick = 0x7FFFFFFF;

struct ScriptEvent {
    uint32_t tick;  // absolute virtual tick at which it takes effect
    enum Kind { KeyDown, KeyUp, Deactivate, Close, Set } kind;
    int vk = 0;         // KeyDown / KeyUp
    std::string name;   // Set: the global's name
    int64_t value = 0;  // Set: its value
    int line = 0;       // script line it came from
};

// Key names of the script, and their virtual keys; -1 for an unknown name.
int ScriptKey(const std::string& name);
// Parses the text; on a malformed line returns false with `error` naming the line. A
// `set` takes only values a game can reach (Level 1..21, DotsEaten 0..244, Score
// 0..9999999, Lives 0..6).
bool ParseScript(const std::string& text, uint32_t startTick, std::vector<ScriptEvent>& events, std::string& error);
// The events as the backend plays them: a `set` becomes a change of the game's value,
// made between two passes at its tick.
std::vector<TimedEvent> TimedEvents(const std::vector<ScriptEvent>& events);
