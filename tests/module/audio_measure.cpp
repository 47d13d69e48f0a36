// Measuring rendered audio: WAV reading, onset search and a small FFT for the
// dominant frequency of a stretch of sound.
#include "tests/module/audio_measure.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/byte_order.h"

namespace {

void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        double angle = -2 * M_PI / double(len);
        std::complex<double> unit(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= unit;
            }
        }
    }
}

}  // namespace

Signal ReadWav(const std::string& path) {
    Signal out;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0)
        return out;
    uint16_t format = 0, channels = 0, bits = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        uint32_t size = ReadU32LE(&bytes[at + 4]);
        const uint8_t* body = &bytes[at + 8];
        size_t available = std::min<size_t>(size, bytes.size() - at - 8);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && available >= 16) {
            format = ReadU16LE(body);
            channels = ReadU16LE(body + 2);
            out.rate = ReadU32LE(body + 4);
            bits = ReadU16LE(body + 14);
            if (format == 0xFFFE && available >= 26) format = ReadU16LE(body + 24);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0 && channels != 0) {
            size_t width = bits / 8;
            size_t frames = available / (width * channels);
            out.samples.resize(frames);
            for (size_t f = 0; f < frames; ++f) {
                double sum = 0;
                for (size_t c = 0; c < channels; ++c) {
                    const uint8_t* p = body + (f * channels + c) * width;
                    if (format == 3 && bits == 32) {
                        float v;
                        std::memcpy(&v, p, 4);
                        sum += v;
                    } else if (bits == 8) {
                        sum += (int(p[0]) - 128) / 128.0;
                    } else if (bits == 16) {
                        sum += int16_t(ReadU16LE(p)) / 32768.0;
                    } else if (bits == 32) {
                        sum += int32_t(ReadU32LE(p)) / 2147483648.0;
                    }
                }
                out.samples[f] = sum / channels;
            }
            return out;
        }
        at += 8 + size + (size & 1);
    }
    return out;
}

double Rms(const Signal& s, int64_t from, int64_t to) {
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, int64_t(s.samples.size()));
    if (to <= from) return 0;
    double sum = 0;
    for (int64_t i = from; i < to; ++i) sum += s.samples[i] * s.samples[i];
    return std::sqrt(sum / double(to - from));
}

Onset FindOnset(const Signal& s, int64_t from, int64_t to, int64_t span) {
    const int64_t n = int64_t(s.samples.size());
    from = std::max<int64_t>(from, span);
    to = std::min<int64_t>(to, n - span);
    if (to <= from) return {};
    // Prefix sums of squares make every window's energy one subtraction.
    std::vector<double> prefix(size_t(to - from + 2 * span + 1), 0.0);
    for (int64_t i = from - span; i < to + span; ++i) {
        double v = s.samples[i];
        prefix[size_t(i - (from - span) + 1)] = prefix[size_t(i - (from - span))] + v * v;
    }
    auto energy = [&](int64_t a, int64_t b) {
        return prefix[size_t(b - (from - span))] - prefix[size_t(a - (from - span))];
    };
    Onset best;
    double bestRise = 0;
    for (int64_t i = from; i < to; ++i) {
        double after = std::sqrt(energy(i, i + span)), before = std::sqrt(energy(i - span, i));
        if (after - before > bestRise) {
            bestRise = after - before;
            best = {i, before > 0 ? after / before : 1e9};
        }
    }
    return best;
}

Peak DominantFrequency(const Signal& s, int64_t from, int64_t to, double lowHz, double highHz) {
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, int64_t(s.samples.size()));
    if (to - from < 64) return {};
    size_t length = size_t(to - from);
    size_t n = 1;
    while (n < length * 2) n <<= 1;
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < length; ++i) {
        double w = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(length - 1));
        a[i] = s.samples[size_t(from) + i] * w;
    }
    Fft(a);
    size_t lo = std::max<size_t>(1, size_t(lowHz * double(n) / s.rate));
    size_t hi = std::min<size_t>(n / 2 - 1, size_t(highHz * double(n) / s.rate));
    size_t peak = lo;
    for (size_t k = lo; k <= hi; ++k)
        if (std::abs(a[k]) > std::abs(a[peak])) peak = k;
    double l = std::log(std::abs(a[peak - 1]) + 1e-300), c = std::log(std::abs(a[peak]) + 1e-300),
           r = std::log(std::abs(a[peak + 1]) + 1e-300);
    double denominator = l - 2 * c + r;
    double shift = denominator != 0 ? 0.5 * (l - r) / denominator : 0;
    double rival = 0;
    for (size_t k = lo + 1; k < hi; ++k) {
        bool localMaximum = std::abs(a[k]) >= std::abs(a[k - 1]) && std::abs(a[k]) >= std::abs(a[k + 1]);
        bool away = std::abs(double(k) - double(peak)) > 0.05 * double(peak);
        if (localMaximum && away) rival = std::max(rival, std::abs(a[k]));
    }
    double clarity = rival > 0 ? std::abs(a[peak]) / rival : 1e9;
    return {(double(peak) + shift) * s.rate / double(n), clarity};
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t i = std::min(values.size() - 1, size_t(q * double(values.size() - 1) + 0.5));
    return values[i];
}
