// The tunes: a few bars of notes each, rendered with plucked square leads, a
// triangle bass and a noise tick, every note shaped so none starts with a click.
#include "tools/soundgen/tune.h"
#include "tools/soundgen/synth.h"

namespace soundgen {

namespace {

constexpr double Rate = double(OutputRate);
constexpr int Rest = 0;

struct Note {
    int note;        // 0: rest
    uint32_t steps;  // length on the grid
};

enum class Timbre { PluckedSquare, HeldSquare, Bass };

// Adds one line of notes, laid end to end from step 0.
void PlayLine(std::vector<double>& out, const std::vector<Note>& line, uint32_t stepSamples, Timbre timbre, double gain,
              uint32_t lastNoteSamples = 0) {
    uint32_t at = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const Note& note = line[i];
        uint32_t span = note.steps * stepSamples;
        bool last = i + 1 == line.size();
        if (last && lastNoteSamples) span = lastNoteSamples;
        if (at + span > out.size()) span = uint32_t(out.size()) - at;
        if (note.note != Rest) {
            double hz = NoteHz(note.note);
            for (uint32_t j = 0; j < span; ++j) {
                double t = double(j) / Rate;
                double phase = hz * t;
                double v = 0.0;
                double g = Ramp(j, span, 30, last ? span * 3 / 4 : 220);
                switch (timbre) {
                    case Timbre::PluckedSquare:
                        // Starts bright, settles to two thirds: a plucked, staccato feel.
                        g *= 0.67 + 0.33 / (1.0 + 30.0 * t);
                        v = Square(phase, 0.25);
                        break;
                    case Timbre::HeldSquare: {
                        // A gentle vibrato (half a percent at 5.5 Hz) that grows in on longer notes.
                        double grow = t < 0.1 ? 0.0 : t > 0.3 ? 1.0 : (t - 0.1) / 0.2;
                        double swing = grow * 0.005 * hz / (2.0 * 3.14159265358979 * 5.5);
                        v = Square(phase + swing * Sine(5.5 * t), 0.5);
                        g *= 0.8 + 0.2 / (1.0 + 20.0 * t);
                        break;
                    }
                    case Timbre::Bass:
                        v = Triangle(phase);
                        g *= 0.75 + 0.25 / (1.0 + 25.0 * t);
                        break;
                }
                out[at + j] += gain * g * v;
            }
        }
        at += note.steps * stepSamples;
    }
}

// A soft noise tick on the given steps.
void Ticks(std::vector<double>& out, uint32_t stepSamples, uint32_t every, uint32_t steps, double gain) {
    Noise noise(0x5EED);
    for (uint32_t s = 0; s < steps; s += every) {
        uint32_t start = s * stepSamples;
        for (uint32_t j = 0; j < 260 && start + j < out.size(); ++j) {
            double decay = 1.0 - double(j) / 260.0;
            out[start + j] += gain * decay * decay * noise.Next();
        }
    }
}

}  // namespace

std::vector<double> StartTune(uint32_t length) {
    // Two bars of sixteenths: 32 steps of 1460 samples fill the 4.24 s exactly.
    const uint32_t step = length / 32;
    std::vector<double> out(length, 0.0);
    const std::vector<Note> lead = {
        {67, 2}, {72, 2}, {76, 2}, {79, 2}, {77, 2}, {76, 1}, {74, 1}, {72, 2}, {69, 2},
        {71, 2}, {74, 2}, {79, 2}, {77, 1}, {74, 1}, {76, 2}, {79, 2}, {84, 4},
    };
    const std::vector<Note> bass = {
        {48, 2}, {55, 2}, {52, 2}, {55, 2}, {53, 2}, {57, 2}, {48, 2}, {57, 2},
        {43, 2}, {50, 2}, {47, 2}, {50, 2}, {48, 2}, {55, 2}, {36, 4},
    };
    PlayLine(out, lead, step, Timbre::HeldSquare, 0.27);
    PlayLine(out, bass, step, Timbre::Bass, 0.34);
    Ticks(out, step, 2, 28, 0.07);
    return out;
}

std::vector<double> IntermissionTune(uint32_t length) {
    // Three bars of sixteenths at 1195 samples a step; the last note rings to the end.
    const uint32_t step = 1195;
    std::vector<double> out(length, 0.0);
    const std::vector<Note> lead = {
        {72, 1}, {Rest, 1}, {69, 1}, {Rest, 1}, {72, 2}, {77, 2}, {76, 1}, {77, 1}, {79, 2}, {77, 2}, {72, 2},
        {74, 1}, {Rest, 1}, {70, 1}, {Rest, 1}, {74, 2}, {79, 2}, {77, 1}, {78, 1}, {79, 2}, {81, 2}, {79, 2},
        {81, 2}, {77, 2},   {72, 1}, {74, 1},   {72, 1}, {69, 1}, {70, 1}, {67, 1}, {64, 2}, {65, 4},
    };
    // Oom-pah: the root on the beat, the fifth off it.
    const std::vector<Note> bass = {
        {41, 2}, {48, 2}, {41, 2}, {48, 2}, {41, 2}, {48, 2}, {41, 2}, {48, 2}, {46, 2}, {53, 2}, {46, 2}, {53, 2},
        {36, 2}, {43, 2}, {36, 2}, {43, 2}, {41, 2}, {48, 2}, {41, 2}, {48, 2}, {36, 2}, {43, 2}, {41, 4},
    };
    const uint32_t lastLead = length - 44 * step;
    const uint32_t lastBass = length - 44 * step;
    PlayLine(out, lead, step, Timbre::PluckedSquare, 0.27, lastLead);
    PlayLine(out, bass, step, Timbre::Bass, 0.34, lastBass);
    Ticks(out, step, 4, 44, 0.06);
    return out;
}

}  // namespace soundgen
