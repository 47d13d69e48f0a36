// The calling thread's scheduling priority, in the phone's numbering (0 the most
// urgent, 3 normal, 7 idle). The audio device in force decides how the system is asked:
// the SDL device through SDL, the virtual device not at all.
#pragma once
#include <thread>
#include "platform/win_types.h"

using HANDLE = void*;

constexpr int THREAD_PRIORITY_TIME_CRITICAL = 0;
constexpr int THREAD_PRIORITY_HIGHEST = 1;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 2;
constexpr int THREAD_PRIORITY_NORMAL = 3;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = 4;
constexpr int THREAD_PRIORITY_LOWEST = 5;
constexpr int THREAD_PRIORITY_ABOVE_IDLE = 6;
constexpr int THREAD_PRIORITY_IDLE = 7;

// A stand-in handle that names the calling thread.
HANDLE GetCurrentThread();
// Asks for `priority` for the calling thread (no other thread can be named here: the
// systems below change only their caller). TRUE when the system granted it; a refusal
// leaves the thread where it was and says nothing.
BOOL SetThreadPriority(HANDLE thread, int priority);
// What a running thread last asked for, granted or not (THREAD_PRIORITY_NORMAL when it
// never asked, or has ended): the request can be checked where the system refuses it.
int ThreadPriorityAskedBy(std::thread::id thread);
