// Several controls can hold the same virtual key (the Up arrow, the d-pad and the stick
// all hold VK_UP): the key goes down with the first of them and up with the last.
#pragma once
#include <cstdint>
#include <functional>
#include <map>

class KeyHolds {
public:
    using Sink = std::function<void(int vk, bool down)>;
    explicit KeyHolds(Sink sink) : sink_(std::move(sink)) {}

    // A control (any number that names it) pressed: a second press of a held control
    // is the desktop's auto-repeat and changes nothing.
    void Press(uint64_t control, int vk);
    void Release(uint64_t control);
    // Lets go of every control numbered first..last (a gamepad pulled out).
    void ReleaseRange(uint64_t first, uint64_t last);
    bool Held(int vk) const;

private:
    Sink sink_;
    std::map<uint64_t, int> controls_;  // control -> the key it holds
    std::map<int, int> holders_;        // key -> how many controls hold it
};
