// The headless state log: one JSON object a pass with the game's globals.
#pragma once
#include <cstdint>
#include <string>
#include "app/loop_hooks.h"

// The name of a dispatched message as the log writes it ("WM_TIMER", "WM_KEYDOWN 13").
std::string MessageName(const MSG& msg);
std::string StateLine(uint64_t pass, uint32_t tick, const MSG& msg, FrameKind kind);
