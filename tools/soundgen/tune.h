// The two tunes of the game, written as notes on a step grid and played by a tiny
// sequencer: a lead, a bass line and a light tick of percussion.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundgen {

// The start of a new game: a bright jingle in C major, 4.24 s.
std::vector<double> StartTune(uint32_t length);
// The intermission: a bouncy, playful tune in F major with an oom-pah bass, 5.20 s.
std::vector<double> IntermissionTune(uint32_t length);

}  // namespace soundgen
