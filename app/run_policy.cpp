// The run's policy, one for the process.
#include "app/run_policy.h"

RunPolicy& CurrentRunPolicy() {
    static RunPolicy policy;
    return policy;
}
