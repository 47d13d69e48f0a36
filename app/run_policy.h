// What the run around the program allows it, set before the program starts: the program
// never asks how it is run (a demo, a replay), only what it may do.
#pragma once

struct RunPolicy {
    // False for a demo: the built-in player's score is not the player's best.
    bool mayKeepBestScore = true;
};

RunPolicy& CurrentRunPolicy();
