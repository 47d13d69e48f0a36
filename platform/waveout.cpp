// The wave-out service over whichever device backend is in force, and the thread
// message queues the finished blocks are posted to. One lock guards the queues of
// blocks and of messages; the backends reach the blocks only through it.
#include "platform/waveout.h"
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include "platform/waveout_device.h"

namespace {
// Kept for the whole life of the process (never destroyed), so a sound system
// closed by a global destructor at exit still finds its queues.
struct Layer {
    std::mutex mutex;
    std::condition_variable changed;  // a thread queue got a message or went away
    std::condition_variable written;  // a block was written, or a thread queue went away
    std::map<DWORD, std::deque<MSG>> threadQueues;
    DWORD nextThreadId = 1;
};
Layer& L() {
    static Layer* layer = new Layer;
    return *layer;
}
WaveOutBackend* backendInForce = nullptr;

bool Valid(HWAVEOUT device) { return device && device->magic == WaveOutDevice::Magic; }

// Posts under the layer lock (the caller holds it).
bool PostLocked(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    auto queue = L().threadQueues.find(threadId);
    if (queue == L().threadQueues.end()) return false;
    queue->second.push_back(MSG{nullptr, message, wParam, lParam, 0});
    L().changed.notify_all();
    return true;
}
}  // namespace

void SetWaveOutBackend(WaveOutBackend* backend) { backendInForce = backend; }
WaveOutBackend* CurrentWaveOutBackend() { return backendInForce; }

UINT waveOutGetNumDevs() { return backendInForce ? backendInForce->DeviceCount() : 0; }

MMRESULT waveOutOpen(HWAVEOUT* out, UINT deviceId, const WAVEFORMATEX* format, uintptr_t callback, uintptr_t instance,
                     DWORD flags) {
    if (!out || !format) return MMSYSERR_INVALPARAM;
    if (!backendInForce || deviceId >= backendInForce->DeviceCount()) return MMSYSERR_BADDEVICEID;
    if (format->wFormatTag != WAVE_FORMAT_PCM || format->wBitsPerSample != 8 || format->nChannels < 1 ||
        format->nChannels > 2 || format->nSamplesPerSec == 0 || format->nBlockAlign != format->nChannels)
        return WAVERR_BADFORMAT;
    auto* device = new WaveOutDevice;
    device->format = *format;
    device->threadId = (flags & CALLBACK_THREAD) ? DWORD(callback) : 0;
    device->instance = instance;
    device->backend = backendInForce;
    if (!backendInForce->OpenDevice(device, *format)) {
        delete device;
        return MMSYSERR_ERROR;
    }
    *out = device;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPause(HWAVEOUT device) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    device->backend->SetPaused(device, true);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutRestart(HWAVEOUT device) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    device->backend->SetPaused(device, false);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    if (!header || !header->lpData) return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    {
        std::lock_guard<std::mutex> hold(L().mutex);
        device->queue.push_back(
            QueuedBlock{header, reinterpret_cast<uint8_t*>(header->lpData), header->dwBufferLength});
        ++device->writes;
        L().written.notify_all();
    }
    device->backend->BlockQueued(device);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutReset(HWAVEOUT device) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    device->backend->ResetDevice(device);
    // Whatever the backend had not taken yet comes back too.
    while (auto block = WaveOutTakeBlock(device)) WaveOutBlockDone(device, *block);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device) {
    if (!Valid(device)) return MMSYSERR_INVALHANDLE;
    device->backend->CloseDevice(device);
    device->magic = 0;
    delete device;
    return MMSYSERR_NOERROR;
}

std::optional<QueuedBlock> WaveOutTakeBlock(WaveOutDevice* device) {
    std::lock_guard<std::mutex> hold(L().mutex);
    if (device->queue.empty()) return std::nullopt;
    QueuedBlock block = device->queue.front();
    device->queue.pop_front();
    return block;
}

void WaveOutBlockDone(WaveOutDevice* device, const QueuedBlock& block) {
    std::lock_guard<std::mutex> hold(L().mutex);
    block.header->dwFlags = (block.header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    if (device->threadId) PostLocked(device->threadId, MM_WOM_DONE, WPARAM(device->instance), LPARAM(block.header));
}

void WaveOutSetRefill(HWAVEOUT device, WaveOutRefill refill, void* owner) {
    if (!Valid(device)) return;
    device->refill = refill;
    device->refillOwner = owner;
}

void WaveOutHandBack(WaveOutDevice* device, const QueuedBlock& block) {
    if (device->refill) {
        {
            std::lock_guard<std::mutex> hold(L().mutex);
            block.header->dwFlags = (block.header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        }
        device->refill(device->refillOwner, block.header);
        return;
    }
    const uint64_t writes = WaveOutWriteCount(device);
    WaveOutBlockDone(device, block);
    WaveOutWaitForWrite(device, writes);
}

uint64_t WaveOutWriteCount(WaveOutDevice* device) {
    std::lock_guard<std::mutex> hold(L().mutex);
    return device->writes;
}

void WaveOutWaitForWrite(WaveOutDevice* device, uint64_t writesBefore) {
    std::unique_lock<std::mutex> hold(L().mutex);
    L().written.wait(hold, [&] {
        return device->writes > writesBefore || L().threadQueues.find(device->threadId) == L().threadQueues.end();
    });
}

DWORD CreateThreadQueue() {
    std::lock_guard<std::mutex> hold(L().mutex);
    DWORD id = L().nextThreadId++;
    if (L().nextThreadId == 0) L().nextThreadId = 1;
    L().threadQueues[id];
    return id;
}

void DestroyThreadQueue(DWORD threadId) {
    std::lock_guard<std::mutex> hold(L().mutex);
    L().threadQueues.erase(threadId);
    L().changed.notify_all();
    L().written.notify_all();
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> hold(L().mutex);
    return PostLocked(threadId, message, wParam, lParam) ? 1 : 0;
}

BOOL PeekThreadMessage(DWORD threadId, MSG* msg) {
    std::lock_guard<std::mutex> hold(L().mutex);
    auto queue = L().threadQueues.find(threadId);
    if (queue == L().threadQueues.end() || queue->second.empty()) return 0;
    *msg = queue->second.front();
    queue->second.pop_front();
    return 1;
}

void WaitThreadMessage(DWORD threadId, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> hold(L().mutex);
    L().changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] {
        auto queue = L().threadQueues.find(threadId);
        return queue == L().threadQueues.end() || !queue->second.empty();
    });
}
