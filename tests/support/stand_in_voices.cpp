// Stand-in looped voices for tests.
#include "tests/support/stand_in_voices.h"
#include "app/window_proc.h"
#include "game/game_sounds.h"

StandInVoices::StandInVoices() {
    for (Voice* v : {&chomp, &fright, &eyes, &sirens[0], &sirens[1], &sirens[2], &sirens[3], &sirens[4]}) {
        v->stopped = false;
        v->paused = true;
    }
}

void StandInVoices::Install() {
    ChompVoice = &chomp;
    FrightVoice = &fright;
    EyesVoice = &eyes;
    for (int i = 0; i < 5; ++i) SirenVoices[i] = &sirens[i];
}

int StandInVoices::PlayingSiren() const {
    int found = -1;
    for (int i = 0; i < 5; ++i) {
        if (sirens[i].paused) continue;
        if (found != -1) return -2;
        found = i;
    }
    return found;
}
