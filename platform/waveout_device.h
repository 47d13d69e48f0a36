// What the device backends see of an open wave-out device: its format, the blocks
// queued on it in order, and the calls that take a block and give it back.
#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include "platform/waveout.h"

// A queued block: the header goes back to the mixing thread, the bytes are what
// plays (taken when the block was written, so the backend never reads the header).
struct QueuedBlock {
    WAVEHDR* header;
    const uint8_t* bytes;
    uint32_t length;
};

struct WaveOutDevice {
    static constexpr uint32_t Magic = 0x57415645;
    uint32_t magic = Magic;
    WAVEFORMATEX format{};
    DWORD threadId = 0;
    uintptr_t instance = 0;
    WaveOutBackend* backend = nullptr;
    void* backendData = nullptr;     // the backend's own state for this device
    std::deque<QueuedBlock> queue;   // guarded by the layer's lock
    uint64_t writes = 0;             // blocks written so far, guarded likewise
    WaveOutRefill refill = nullptr;  // set and read on the thread that moves the clock
    void* refillOwner = nullptr;
};

// Takes the oldest queued block (none when the queue is empty).
std::optional<QueuedBlock> WaveOutTakeBlock(WaveOutDevice* device);
// A block has been played (or dropped by a reset): MM_WOM_DONE to the mixing thread.
void WaveOutBlockDone(WaveOutDevice* device, const QueuedBlock& block);
// Blocks written so far, and a wait until one more is written or the thread that
// would write it has gone.
uint64_t WaveOutWriteCount(WaveOutDevice* device);
void WaveOutWaitForWrite(WaveOutDevice* device, uint64_t writesBefore);
// A block has been played: gives it back and returns once it has been written again
// (or nobody is left to write it), through the refill in the caller's thread where
// the owner named one, else through the mixing thread.
void WaveOutHandBack(WaveOutDevice* device, const QueuedBlock& block);
