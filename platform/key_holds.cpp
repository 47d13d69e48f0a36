// Merging the controls that hold each virtual key into one down and one up.
#include "platform/key_holds.h"

void KeyHolds::Press(uint64_t control, int vk) {
    if (vk == 0 || !controls_.emplace(control, vk).second) return;
    if (++holders_[vk] == 1) sink_(vk, true);
}

void KeyHolds::Release(uint64_t control) {
    auto it = controls_.find(control);
    if (it == controls_.end()) return;
    int vk = it->second;
    controls_.erase(it);
    auto h = holders_.find(vk);
    if (--h->second == 0) {
        holders_.erase(h);
        sink_(vk, false);
    }
}

void KeyHolds::ReleaseRange(uint64_t first, uint64_t last) {
    for (auto it = controls_.lower_bound(first); it != controls_.end() && it->first <= last;) {
        uint64_t control = it->first;
        ++it;
        Release(control);
    }
}

bool KeyHolds::Held(int vk) const { return holders_.count(vk) != 0; }
