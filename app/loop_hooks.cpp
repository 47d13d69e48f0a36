// The loop's observers.
#include "app/loop_hooks.h"

LoopHooks& CurrentLoopHooks() {
    static LoopHooks hooks;
    return hooks;
}
