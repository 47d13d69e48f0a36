// Observers of the headless clock (the virtual audio device among them).
#include "platform/time_listeners.h"
#include <map>

namespace {
std::map<int, TimeListener>& Listeners() {
    static std::map<int, TimeListener> listeners;
    return listeners;
}
int nextId = 1;
}  // namespace

int AddTimeListener(TimeListener listener) {
    int id = nextId++;
    Listeners()[id] = std::move(listener);
    return id;
}

void RemoveTimeListener(int id) { Listeners().erase(id); }

void NotifyTimeAdvanced(uint32_t from, uint32_t to) {
    if (from == to) return;
    // Copy: a listener may remove itself.
    auto copy = Listeners();
    for (auto& [id, listener] : copy) listener(from, to);
}
