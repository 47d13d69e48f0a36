// The wave-out audio service and the mixing thread's own message queue, on whichever
// device is in force (the SDL audio device or the headless virtual one). Finished
// blocks come back as MM_WOM_DONE messages posted to the thread named at open.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

struct WaveOutDevice;
using HWAVEOUT = WaveOutDevice*;
using MMRESULT = UINT;

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

struct WAVEHDR {
    char* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    uintptr_t dwUser;
    DWORD dwFlags;
    DWORD dwLoops;
    WAVEHDR* lpNext;
    uintptr_t reserved;
};

constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_UNPREPARED = 34;
constexpr DWORD CALLBACK_THREAD = 0x00020000;
constexpr UINT MM_WOM_DONE = 0x3BD;
constexpr DWORD WHDR_DONE = 0x00000001;
constexpr DWORD WHDR_PREPARED = 0x00000002;
constexpr DWORD WHDR_INQUEUE = 0x00000010;

UINT waveOutGetNumDevs();
// callback is the thread id (CALLBACK_THREAD); instance is handed back in wParam.
MMRESULT waveOutOpen(HWAVEOUT* device, UINT deviceId, const WAVEFORMATEX* format, uintptr_t callback,
                     uintptr_t instance, DWORD flags);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutRestart(HWAVEOUT device);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT headerSize);
// Every queued block comes back (MM_WOM_DONE) and the device stops playing.
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutClose(HWAVEOUT device);

// Thread message queues for the mixing thread. A queue is made before its thread
// starts and removed by the thread as its last act; posting to a removed queue fails.
DWORD CreateThreadQueue();
void DestroyThreadQueue(DWORD threadId);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the oldest message of the queue; FALSE when it is empty (or gone).
BOOL PeekThreadMessage(DWORD threadId, MSG* msg);
// Waits until the queue holds a message or timeoutMs real milliseconds have passed.
void WaitThreadMessage(DWORD threadId, uint32_t timeoutMs);

// A device that plays as the caller's own clock moves (the headless one) can give
// each finished block straight to the refill named here, on the calling thread,
// instead of posting it to the mixing thread and waiting until it is written again:
// the same block refilled at the same moment, without two threads taking turns. The
// SDL device plays on its own time and keeps the mixing thread; null turns it off.
using WaveOutRefill = void (*)(void* owner, WAVEHDR* header);
void WaveOutSetRefill(HWAVEOUT device, WaveOutRefill refill, void* owner);

// What a device backend supplies. Blocks are handed over in queue order; the backend
// calls WaveOutBlockDone for each block it has finished playing (or dropped on reset).
class WaveOutBackend {
public:
    virtual ~WaveOutBackend() = default;
    virtual UINT DeviceCount() = 0;
    virtual bool OpenDevice(WaveOutDevice* device, const WAVEFORMATEX& format) = 0;
    virtual void CloseDevice(WaveOutDevice* device) = 0;
    virtual void SetPaused(WaveOutDevice* device, bool paused) = 0;
    // A block was queued (the layer has already appended it to the device's queue).
    virtual void BlockQueued(WaveOutDevice* device) = 0;
    // Every queued block is to be given back now.
    virtual void ResetDevice(WaveOutDevice* device) = 0;
    // Asks the system to run the calling thread (the one that feeds this device) at a
    // priority in the phone's numbering (platform/threads.h); true when granted.
    virtual bool SetCurrentThreadPriority(int priority) = 0;
};

// The device in force (null: no device, waveOutGetNumDevs is 0).
void SetWaveOutBackend(WaveOutBackend* backend);
WaveOutBackend* CurrentWaveOutBackend();
