// Stand-in looped voices for tests: plain voices in the state a new game leaves the
// real ones (started, then paused at once), whose flags the tests can read.
#pragma once
#include "sound/voice.h"

struct StandInVoices {
    Voice chomp, fright, eyes, sirens[5];
    StandInVoices();
    // Puts them in ChompVoice, FrightVoice, EyesVoice and SirenVoices.
    void Install();
    // Index of the one siren playing, -1 for none, -2 for more than one.
    int PlayingSiren() const;
};
