// A global object that the program builds and tears down at moments of its choosing
// (after it has picked its backend, which the surfaces read when they are made), not
// during static initialisation. A list of them is built in order and torn down in reverse.
#pragma once
#include <new>
#include <span>

class GlobalObjectSlot {
public:
    virtual void Construct() = 0;
    virtual void Destroy() = 0;

protected:
    ~GlobalObjectSlot() = default;
};

template <typename T>
class GlobalObject final : public GlobalObjectSlot {
public:
    T& operator*() { return *reinterpret_cast<T*>(bytes_); }
    void Construct() override {
        Destroy();
        new (bytes_) T();
        built_ = true;
    }
    void Destroy() override {
        if (!built_) return;
        (**this).~T();
        built_ = false;
    }

private:
    alignas(T) unsigned char bytes_[sizeof(T)];
    bool built_ = false;
};

inline void ConstructInOrder(std::span<GlobalObjectSlot* const> slots) {
    for (GlobalObjectSlot* slot : slots) slot->Construct();
}

// Reverse iterators rather than a reversed view: clang 14 (the fuzzing build) cannot
// compile libstdc++ 12's views.
inline void DestroyInReverse(std::span<GlobalObjectSlot* const> slots) {
    for (auto slot = slots.rbegin(); slot != slots.rend(); ++slot) (*slot)->Destroy();
}
