// Process entry: the single-instance rule, start-up, and the message loop that runs
// one frame per message with the 12 ms pacing.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

extern HINSTANCE AppInstance;

void RegisterWindowClass(HINSTANCE instance, const WCHAR* className);
bool InitInstance(HINSTANCE instance, int showCommand);
// The entry: start-up, then the message loop; returns the process exit code.
int GameEntry(HINSTANCE instance, HINSTANCE previous, const WCHAR* commandLine, int showCommand);

// Milliseconds the loop sleeps after a frame that began at frameStart, the tick now being now.
uint32_t PacingSleep(uint32_t now, uint32_t frameStart, bool started);
