// Oscillators, pitches, envelopes and the conversion to 8-bit bytes of the sound
// generator, all in plain IEEE arithmetic so regenerating gives identical files.
#include "tools/soundgen/synth.h"

namespace soundgen {

namespace {
double Fraction(double x) {
    double whole = double(int64_t(x));
    double f = x - whole;
    return f < 0 ? f + 1.0 : f;
}
}  // namespace

double Sine(double phase) {
    // Reduce to a quarter wave and use a short odd series there.
    double p = Fraction(phase);
    double sign = 1.0;
    if (p >= 0.5) {
        p -= 0.5;
        sign = -1.0;
    }
    if (p > 0.25) p = 0.5 - p;
    double x = p * 2.0 * Pi;  // 0 .. pi/2
    double x2 = x * x;
    double s = x * (1.0 - x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0 * (1.0 - x2 / 110.0)))));
    return sign * s;
}

double Triangle(double phase) {
    double p = Fraction(phase);
    if (p < 0.25) return 4.0 * p;
    if (p < 0.75) return 2.0 - 4.0 * p;
    return 4.0 * p - 4.0;
}

double Square(double phase, double duty) { return Fraction(phase) < duty ? 1.0 : -1.0; }

double SoftSquare(double phase, double hardness) {
    double s = Sine(phase) * hardness;
    // x / (1 + |x|) keeps the shoulders round while flattening the tops.
    double a = s < 0 ? -s : s;
    double norm = hardness / (1.0 + hardness);
    return (s / (1.0 + a)) / norm;
}

double Power2(double x) {
    int64_t whole = int64_t(x);
    if (double(whole) > x) --whole;
    double f = x - double(whole);  // 0 .. 1
    // 2^f = e^(f ln 2) by its series.
    double y = f * 0.69314718055994530942;
    double term = 1.0;
    double sum = 1.0;
    for (int i = 1; i < 20; ++i) {
        term = term * y / double(i);
        sum += term;
    }
    double scale = 1.0;
    for (int64_t i = 0; i < whole; ++i) scale *= 2.0;
    for (int64_t i = 0; i > whole; --i) scale *= 0.5;
    return sum * scale;
}

double NoteHz(int note) { return 440.0 * Power2(double(note - 69) / 12.0); }

double Noise::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_ >> 8) / double(1u << 23) - 1.0;
}

double Ramp(uint32_t at, uint32_t length, uint32_t attack, uint32_t release) {
    if (at >= length) return 0.0;
    double g = 1.0;
    if (attack && at < attack) g = double(at) / double(attack);
    uint32_t left = length - at;
    if (release && left < release) {
        double r = double(left) / double(release);
        if (r < g) g = r;
    }
    return g;
}

std::vector<uint8_t> ToBytes(const std::vector<double>& signal) {
    std::vector<uint8_t> out(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        double v = signal[i] * 127.0;
        if (v > 127.0) v = 127.0;
        if (v < -128.0) v = -128.0;
        int64_t r = int64_t(v + 128.5);  // round to nearest (v + 128 is never negative)
        out[i] = uint8_t(r > 255 ? 255 : r);
    }
    return out;
}

std::vector<double> CrossfadeLoop(const std::vector<double>& signal, uint32_t length, uint32_t fade) {
    std::vector<double> out(signal.begin() + fade, signal.begin() + fade + length);
    for (uint32_t i = 0; i < fade; ++i) {
        double t = double(i + 1) / double(fade + 1);
        uint32_t at = length - fade + i;
        out[at] = out[at] * (1.0 - t) + signal[i] * t;
    }
    return out;
}

}  // namespace soundgen
