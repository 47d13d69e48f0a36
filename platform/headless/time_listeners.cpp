// Observers of the headless clock (the virtual audio device among them).
#include "platform/headless/time_listeners.h"
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
    if (from == to || Listeners().empty()) return;
    // Without copying the whole table at every move of the clock: each listener is
    // looked up again before it is called (one may remove itself or another), and one
    // added meanwhile waits for the next move, as it always has.
    const int newest = Listeners().rbegin()->first;
    int last = 0;
    for (;;) {
        auto next = Listeners().upper_bound(last);
        if (next == Listeners().end() || next->first > newest) return;
        last = next->first;
        TimeListener call = next->second;  // lives on if the listener removes itself
        call(from, to);
    }
}
