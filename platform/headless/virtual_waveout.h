// The headless audio device: plays the queued blocks back to back as virtual time
// passes and has each finished block refilled before the clock goes on (in the
// game thread itself), so the sound never depends on real thread timing.
#pragma once
#include <cstdint>
#include <string>
#include "platform/scripted_backend.h"

// The most sample bytes a WAV file can hold: its sizes are 32-bit, and the RIFF size
// counts 36 bytes of header besides the data.
constexpr uint64_t WavLargestData = 0xFFFFFFFFull - 36 - 1;

// Puts the virtual device in force (call before the sound system opens).
void UseVirtualWaveOut();
// Creates the WAV file that every block played is written to as it plays, so a run of
// any length keeps only a block in memory. False (errno says why) when the file cannot
// be created. The recording stops, whole, at `largestData` bytes of sound.
bool SetVirtualAudioOut(const std::string& path, uint64_t largestData = WavLargestData);
// The errno of the first write to the file that failed (a full disk), else 0; after a
// failure nothing more is written.
int VirtualAudioOutError();
// Seconds of sound recorded when it stopped at the size limit, else 0.
double VirtualAudioOutCutAt();
// Puts the sizes into the header and closes the file; true when every byte was written
// (or no file was asked for). errno says why when not.
bool FinishVirtualAudioOut();
// The same file through the recorder interface, for a run that does not know this backend.
SoundRecorder& VirtualSoundRecorder();
