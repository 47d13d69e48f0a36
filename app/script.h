// The headless script: one event a line, "TICK VERB [ARG]", TICK in ms after the start.
// Verbs: down KEY, up KEY, tap KEY (up 30 ms later), deactivate, close, set NAME VALUE.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/headless/headless_backend.h"

// Key names of the script, and their virtual keys; -1 for an unknown name.
int ScriptKey(const std::string& name);
// Parses the text; on a malformed line returns false with `error` naming the line.
bool ParseScript(const std::string& text, uint32_t startTick, std::vector<ScriptEvent>& events, std::string& error);
