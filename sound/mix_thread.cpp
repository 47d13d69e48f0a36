// The mixing thread: refills each output block as the device hands it back
// (MM_WOM_DONE), idles 5 ms at a time, and parks between blocks while the output is
// paused so that it never holds the lock while suspended.
#include <cstring>
#include "platform/threads.h"
#include "sound/sound_system.h"

void SoundSystem::HonourPause() {
    std::unique_lock<std::mutex> hold(pauseMutex);
    if (!pauseRequested) return;
    threadParked = true;
    pauseChanged.notify_all();
    pauseChanged.wait(hold, [this] { return !pauseRequested; });
    threadParked = false;
}

void SoundSystem::RefillBlock(WAVEHDR* header) {
    {
        std::lock_guard<std::mutex> hold(lock);
        currentBlock = reinterpret_cast<uint8_t*>(header->lpData);
        MixBlock();
    }
    char* blockData = header->lpData;
    waveOutUnprepareHeader(device, header, sizeof(WAVEHDR));
    std::memset(header, 0, sizeof(WAVEHDR));
    header->dwBufferLength = framesPerBlock << stereo;
    header->lpData = blockData;
    waveOutPrepareHeader(device, header, sizeof(WAVEHDR));
    waveOutWrite(device, header, sizeof(WAVEHDR));
}

void SoundSystem::RefillInCaller(void* self, WAVEHDR* header) { static_cast<SoundSystem*>(self)->RefillBlock(header); }

void SoundSystem::MixThread() {
    // Above the game thread, so a block is refilled as soon as the device gives it back.
    // SDL can raise only the thread that asks, so the thread asks first, before it parks;
    // where the system refuses, it mixes at normal priority.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    for (;;) {
        HonourPause();
        if (stopEvent.Wait(0)) break;
        MSG msg;
        bool idle = true;
        while (PeekThreadMessage(threadId, &msg)) {
            idle = false;
            if (msg.message != MM_WOM_DONE) continue;
            auto* header = reinterpret_cast<WAVEHDR*>(msg.lParam);
            if (!header) break;
            RefillBlock(header);
            break;  // one block at a time, so a pause or a stop is seen between blocks
        }
        if (idle) WaitThreadMessage(threadId, 5);
    }
    DestroyThreadQueue(threadId);
    doneEvent.Set();
}

// The device stops first, then the thread parks at its next look between blocks;
// the call returns once it is parked, so nothing is mixed until ResumeOutput.
void SoundSystem::PauseOutput() {
    if (!open) return;
    waveOutPause(device);
    std::unique_lock<std::mutex> hold(pauseMutex);
    pauseRequested = true;
    outputPaused = true;
    hold.unlock();
    PostThreadMessageW(threadId, WM_NULL, 0, 0);
    hold.lock();
    pauseChanged.wait(hold, [this] { return threadParked; });
}

void SoundSystem::ResumeOutput() {
    if (!open) return;
    {
        std::lock_guard<std::mutex> hold(pauseMutex);
        pauseRequested = false;
        outputPaused = false;
    }
    pauseChanged.notify_all();
    waveOutRestart(device);
}
