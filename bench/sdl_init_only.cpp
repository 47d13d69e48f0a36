// The start-up floor: a program that only initialises SDL and exits.
#include "tests/support/sdl/sdl_probe.h"

int main() { return InitAndQuitSdl() ? 0 : 1; }
