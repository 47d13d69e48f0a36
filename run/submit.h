// Sending a kept game to a hall of fame: glimmo --submit best|last|FILE --hall URL --name NAME.
#pragma once
#include "run/command_line.h"

// Sends the replay and prints the hall's answer in one line: its place on the board, or
// why it was refused. 0 when the game is on the board, 1 when the hall refused it, 2 when
// there is nothing to send, 3 when the hall could not be reached or asked to try again.
int RunSubmit(const CommandLine& cl);
