// What the game tells the platform about itself, so that a backend with a desktop's or a
// browser's manners can give a key the meaning the moment calls for. The headless backend
// never asks: its scripted keys are the phone's keys, whatever the moment.
#pragma once

struct PlayState {
    bool gameInPlay = false;  // a game is on: not the title, not GAME OVER
    bool paused = false;
    bool onTitle = false;  // the title, where a browser's back key has nothing to go back to
};
using PlayStateSource = PlayState (*)();

// The program hands its source over once at start; until then every answer is "no game".
void SetPlayStateSource(PlayStateSource source);
PlayState CurrentPlayState();

// What Escape (and a gamepad's Back button) means now: the pause key during a game that is
// not paused, so that a stray press never throws a game away; otherwise the back key, which
// saves and quits (from the pause screen, the title and GAME OVER).
int EscapeKey(const PlayState& state);
