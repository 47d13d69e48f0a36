// The loop's observers.
#include "loop_hooks.h"

LoopHooks& CurrentLoopHooks() {
    static LoopHooks hooks;
    return hooks;
}
