// While one lives, what the process allocates is not counted as leaked at its exit: for the
// system libraries that a real X display loads into a test's own process (D-Bus, the input
// method), which keep memory to the end or are unloaded still holding it. The game's own
// leaks are found by every other test, which runs it without them.
#pragma once
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
struct OutsideLeaksIgnored {
    OutsideLeaksIgnored() { __lsan_disable(); }
    ~OutsideLeaksIgnored() { __lsan_enable(); }
    OutsideLeaksIgnored(const OutsideLeaksIgnored&) = delete;
    OutsideLeaksIgnored& operator=(const OutsideLeaksIgnored&) = delete;
};
#else
struct [[maybe_unused]] OutsideLeaksIgnored {
    OutsideLeaksIgnored() {}
};
#endif
