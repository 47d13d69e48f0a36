// The sound generator's building blocks: oscillators (sine, triangle, square,
// noise) on phases counted in cycles, note pitches and envelopes. Only IEEE
// +, -, x and / are used, so every machine renders the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundgen {

constexpr uint32_t OutputRate = 11025;
constexpr double Pi = 3.14159265358979323846;

// One cycle of each wave for a phase in cycles (any value; only its fraction counts).
double Sine(double phase);
double Triangle(double phase);
double Square(double phase, double duty = 0.5);
// A square with rounded shoulders: brighter than a sine, gentler than a square.
double SoftSquare(double phase, double hardness);

// Frequency of a note: 69 is A at 440 Hz, 12 notes to the octave.
double NoteHz(int note);
// 2 to the power x, for any real x.
double Power2(double x);

// A repeatable noise source.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    double Next();  // -1 .. 1

private:
    uint32_t state_;
};

// Attack/release ramp: 0 at the edges of [0, length), 1 inside, with linear ramps.
double Ramp(uint32_t at, uint32_t length, uint32_t attack, uint32_t release);

// A signal of values around 0 (full scale +-1) turned into 8-bit unsigned bytes.
std::vector<uint8_t> ToBytes(const std::vector<double>& signal);

// For loops: the loop's last `fade` samples blend into what came just before its
// start, so its end runs into its start. `signal` holds `fade` samples of lead-in
// and then the loop's `length` samples; the result holds the loop.
std::vector<double> CrossfadeLoop(const std::vector<double>& signal, uint32_t length, uint32_t fade);

}  // namespace soundgen
