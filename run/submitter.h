// glimmo --submit: the program that sends a game to a hall of fame (glimmo-submit, which
// links the HTTP client the game itself does without) takes over the command line.
#pragma once

// Runs glimmo-submit with the same arguments in this process's place; returns only when it
// cannot (exit code 1, with one line saying where it was looked for).
int StartSubmitter(char** argv);
