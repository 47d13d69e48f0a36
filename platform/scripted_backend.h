// A backend that brings the outside world's events from a list, each at its tick of a
// clock of its own (the headless one): what a run plays to the game instead of a player.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "platform/backend.h"

struct TimedEvent {
    uint32_t tick;  // absolute tick at which it takes effect
    enum Kind { KeyDown, KeyUp, Deactivate, Close, Call } kind;
    int vk = 0;                  // KeyDown, KeyUp
    std::function<void()> call;  // Call: run on the game thread between two passes
    int line = 0;                // where the event was written (a script's line)
};

class ScriptedBackend : public Backend {
public:
    // Merged with the events still to come, in tick order.
    virtual void AddEvents(std::vector<TimedEvent> events) = 0;
    // Whether the next presents are kept for LastFrame (the default). A run that looks at
    // only some frames turns it off between them: a present nobody will look at is then
    // not copied at all.
    virtual void KeepFrames(bool keep) = 0;
};

// Where the sound a backend plays can be written to, as a WAV file.
class SoundRecorder {
public:
    virtual ~SoundRecorder() = default;
    // Creates the file that every block played is written to as it plays. False (errno
    // says why) when it cannot be created.
    virtual bool Start(const std::string& path) = 0;
    // The errno of the first write that failed (a full disk), else 0.
    virtual int Error() = 0;
    // Seconds of sound written when it stopped at the file format's size limit, else 0.
    virtual double CutAt() = 0;
    // Puts the sizes into the header and closes the file; true when every byte was written
    // (or no file was asked for). errno says why when not.
    virtual bool Finish() = 0;
};
