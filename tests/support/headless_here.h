// A headless run in the test's own process, composed as the program's main composes it.
#pragma once
#include "run/command_line.h"

int RunHeadlessHere(const CommandLine& cl);
