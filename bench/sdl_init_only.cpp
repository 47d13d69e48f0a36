// The start-up floor: a program that only initialises SDL and exits.
#include "platform/sdl/sdl_probe.h"

int main() { return InitAndQuitSdl() ? 0 : 1; }
