// The real audio device through SDL: 8-bit unsigned blocks played in queue order,
// each finished block posted back to the mixing thread as MM_WOM_DONE.
#pragma once

// Puts the SDL device in force. If no audio device starts, waveOutGetNumDevs is 0
// (one line on stderr says so) and the game plays silent.
void UseSdlWaveOut();

// The window's mute: the device goes on taking the blocks at their pace, and plays silence.
void MuteSdlWaveOut(bool muted);
