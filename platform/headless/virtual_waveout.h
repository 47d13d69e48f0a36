// The headless audio device: plays the queued blocks back to back as virtual time
// passes, hands each finished block to the mixing thread and waits until it is
// written back, so the sound never depends on real thread timing.
#pragma once
#include <string>

// Puts the virtual device in force (call before the sound system opens).
void UseVirtualWaveOut();
// Every block played is kept and written as a WAV file by FinishVirtualAudioOut.
void SetVirtualAudioOut(const std::string& path);
// Writes the file (if one was asked for); true when written or none was asked for.
bool FinishVirtualAudioOut();
