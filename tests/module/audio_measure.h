// Measuring rendered audio: reading WAV files, finding a note's onset near a time,
// and the dominant frequency of a stretch of sound.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A mono signal (channels averaged) and its rate; empty when the file cannot be read.
struct Signal {
    std::vector<double> samples;
    uint32_t rate = 0;
};

// PCM 8, 16 or 32 bits, or 32-bit float.
Signal ReadWav(const std::string& path);

// The frame within [from, to) where the sound rises most sharply: the loudness of the
// `span` frames after it against the `span` frames before it (frame -1 when nothing rises),
// and how many times louder the sound is after it than before.
struct Onset {
    int64_t frame = -1;
    double ratio = 0;
};
Onset FindOnset(const Signal& s, int64_t from, int64_t to, int64_t span);

// Root mean square of [from, to).
double Rms(const Signal& s, int64_t from, int64_t to);

// The strongest frequency (Hz) of [from, to), Hann window, zero padded, interpolated
// between bins; only frequencies within [lowHz, highHz] are considered. Clarity is how
// many times stronger it is than the strongest peak more than 5 % away: noise has none.
struct Peak {
    double hz = 0;
    double clarity = 0;
};
Peak DominantFrequency(const Signal& s, int64_t from, int64_t to, double lowHz, double highHz);

// Median and the given quantile (0..1) of a list of values.
double Quantile(std::vector<double> values, double q);
