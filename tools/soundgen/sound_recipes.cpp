// The recipes of the game's sounds. Loops hold whole numbers of every period in
// them (pitch, wobble and sweep), so their last sample runs into the first.
#include "tools/soundgen/sound_recipes.h"
#include "tools/soundgen/synth.h"
#include "tools/soundgen/tune.h"

namespace soundgen {

namespace {

constexpr double Rate = double(OutputRate);

// Phase in cycles at sample n of an n-sample loop: `cycles` whole cycles of the
// base pitch, plus a pitch wobble repeating `wobbles` times a loop that swings the
// frequency by +-swingHz. Periodic in the loop length exactly.
double LoopPhase(uint32_t n, uint32_t length, uint32_t cycles, uint32_t wobbles, double swingHz) {
    double base = double((uint64_t(cycles) * n) % length) / double(length);
    double lfo = double((uint64_t(wobbles) * n) % length) / double(length);
    double depth = wobbles ? swingHz * double(length) / (Rate * 2.0 * Pi * double(wobbles)) : 0.0;
    return base + depth * (1.0 - Sine(lfo + 0.25));
}

// The fraction of a loop at sample n repeating `times` times a loop, exactly.
double LoopFraction(uint32_t n, uint32_t length, uint32_t times) {
    return double((uint64_t(times) * n) % length) / double(length);
}

// Whole cycles in a loop nearest a frequency.
uint32_t CyclesFor(double hz, uint32_t length) { return uint32_t(hz * double(length) / Rate + 0.5); }

// The player's death: a warbling tone that falls three octaves and dies away.
std::vector<double> Death(uint32_t length) {
    std::vector<double> out(length);
    double phase = 0.0;
    for (uint32_t n = 0; n < length; ++n) {
        double t = double(n) / double(length);
        double warble = 1.0 + 0.09 * Sine(double(n) * 10.0 / Rate);
        double hz = 920.0 * Power2(-3.0 * t) * warble;
        phase += hz / Rate;
        double fade = (1.0 - t) * (1.0 - t);
        double g = 0.62 * fade * Ramp(n, length, 40, 200);
        out[n] = g * (0.7 * Triangle(phase) + 0.3 * SoftSquare(phase, 3.0));
    }
    return out;
}

// Eating dots: two short blips, a low one then a higher one ("wa-ka"), each starting
// and ending in silence so the loop joins without a click.
std::vector<double> Chomp(uint32_t length) {
    std::vector<double> out(length, 0.0);
    const uint32_t half = length / 2;
    const uint32_t blip = half - 260;
    for (int which = 0; which < 2; ++which) {
        double from = which == 0 ? 520.0 : 330.0;
        double to = which == 0 ? 300.0 : 560.0;
        double phase = 0.0;
        uint32_t start = which * half;
        for (uint32_t i = 0; i < blip; ++i) {
            double t = double(i) / double(blip);
            phase += (from + (to - from) * t) / Rate;
            double g = 0.55 * Ramp(i, blip, 60, 500);
            out[start + i] = g * (0.75 * Triangle(phase) + 0.25 * Square(phase, 0.5));
        }
    }
    return out;
}

// A ghost eaten: a zap that climbs from a growl to a whistle in half a second.
std::vector<double> GhostEaten(uint32_t length) {
    std::vector<double> out(length);
    double phase = 0.0;
    for (uint32_t n = 0; n < length; ++n) {
        double t = double(n) / double(length);
        double hz = 180.0 * Power2(3.6 * t) * (1.0 + 0.06 * Square(double(n) * 45.0 / Rate, 0.5));
        phase += hz / Rate;
        double g = 0.5 * Ramp(n, length, 30, 1400);
        out[n] = g * SoftSquare(phase, 2.5 + 4.0 * t);
    }
    return out;
}

// A bell struck at `start`: a few partials ringing away at their own speeds.
void Bell(std::vector<double>& out, uint32_t start, double hz, double gain) {
    static const double partials[][3] = {{1.0, 1.0, 1.0}, {2.0, 0.45, 1.7}, {3.0, 0.22, 2.6}, {4.2, 0.12, 3.5}};
    for (uint32_t n = start; n < out.size(); ++n) {
        double t = double(n - start) / Rate;
        double left = double(out.size() - n) / Rate;
        double tail = left < 0.25 ? left / 0.25 : 1.0;
        double v = 0.0;
        for (const auto& p : partials) {
            double decay = 1.0 / (1.0 + 2.2 * p[2] * t + 3.0 * p[2] * t * t);
            v += p[1] * decay * Sine(hz * p[0] * t);
        }
        double attack = (n - start) < 40 ? double(n - start) / 40.0 : 1.0;
        out[n] += gain * tail * attack * v;
    }
}

// The extra life: a bright chime rising through a major chord and ringing out.
std::vector<double> ExtraLife(uint32_t length) {
    std::vector<double> out(length, 0.0);
    const int notes[] = {84, 88, 91, 96, 91, 96};
    const uint32_t gap = 1100;
    for (int i = 0; i < 6; ++i) Bell(out, uint32_t(i) * gap, NoteHz(notes[i]), i < 4 ? 0.22 : 0.17);
    return out;
}

// The fruit eaten: a quick arpeggio up two octaves, plucked.
std::vector<double> Fruit(uint32_t length) {
    std::vector<double> out(length, 0.0);
    const int notes[] = {79, 83, 86, 91, 95, 98};
    const uint32_t each = length / 6;
    for (uint32_t i = 0; i < 6; ++i) {
        uint32_t start = i * each;
        uint32_t span = (i == 5) ? length - start : each;
        double hz = NoteHz(notes[i]);
        for (uint32_t j = 0; j < span; ++j) {
            double t = double(j) / double(span);
            double g = 0.48 * Ramp(j, span, 20, 120) * (1.0 - 0.6 * t);
            out[start + j] = g * Square(hz * double(j) / Rate, 0.25);
        }
    }
    return out;
}

// Ghosts frightened: a low, slow wobble, four wobbles a loop.
std::vector<double> Fright(uint32_t length) {
    std::vector<double> out(length);
    const uint32_t cycles = CyclesFor(165.0, length);
    for (uint32_t n = 0; n < length; ++n) {
        double phase = LoopPhase(n, length, cycles, 4, 55.0);
        double swell = 0.8 + 0.2 * Sine(LoopFraction(n, length, 4) - 0.25);
        out[n] = 0.5 * swell * (0.6 * Triangle(phase) + 0.4 * SoftSquare(phase, 2.0));
    }
    return out;
}

// The eyes going home: fast sweeps up, eight a loop, each a whole number of cycles.
std::vector<double> Eyes(uint32_t length) {
    std::vector<double> out(length);
    const uint32_t sweeps = 8;
    const uint32_t span = length / sweeps;  // 1092 samples
    const double from = 900.0;
    const double meanCycles = 150.0;  // per sweep
    const double to = 2.0 * meanCycles * Rate / double(span) - from;
    for (uint32_t n = 0; n < length; ++n) {
        double j = double(n % span);
        double phase = (from * j + (to - from) * j * j / (2.0 * double(span))) / Rate;
        out[n] = 0.4 * (0.65 * Triangle(phase) + 0.35 * Sine(phase));
    }
    return out;
}

// A siren: rises and falls `wobbles` times a loop around `hz`.
std::vector<double> Siren(uint32_t length, double hz, uint32_t wobbles, double swingHz) {
    std::vector<double> out(length);
    const uint32_t cycles = CyclesFor(hz, length);
    for (uint32_t n = 0; n < length; ++n) {
        double phase = LoopPhase(n, length, cycles, wobbles, swingHz);
        out[n] = 0.42 * (0.7 * Sine(phase) + 0.3 * Triangle(phase));
    }
    return out;
}

// Five sirens, each a little higher and a little faster than the one before.
std::vector<double> Siren1(uint32_t length) { return Siren(length, 410.0, 1, 110.0); }
std::vector<double> Siren2(uint32_t length) { return Siren(length, 455.0, 1, 120.0); }
std::vector<double> Siren3(uint32_t length) { return Siren(length, 505.0, 2, 130.0); }
std::vector<double> Siren4(uint32_t length) { return Siren(length, 560.0, 3, 140.0); }
std::vector<double> Siren5(uint32_t length) { return Siren(length, 620.0, 1, 150.0); }

}  // namespace

const std::vector<SoundRecipe>& SoundRecipes() {
    static const std::vector<SoundRecipe> recipes = {
        {119, "death.wav", 16832, false, Death},
        {120, "chomp.wav", 3318, true, Chomp},
        {121, "ghost_eaten.wav", 6426, false, GhostEaten},
        {122, "extra_life.wav", 17666, false, ExtraLife},
        {123, "fruit.wav", 4321, false, Fruit},
        {124, "start_tune.wav", 46720, false, StartTune},
        {125, "fright.wav", 7368, true, Fright},
        {126, "eyes.wav", 8736, true, Eyes},
        {128, "intermission.wav", 57377, false, IntermissionTune},
        {133, "siren1.wav", 4284, true, Siren1},
        {134, "siren2.wav", 3920, true, Siren2},
        {135, "siren3.wav", 7038, true, Siren3},
        {136, "siren4.wav", 9753, true, Siren4},
        {137, "siren5.wav", 2842, true, Siren5},
    };
    return recipes;
}

std::vector<uint8_t> RenderSound(const SoundRecipe& recipe) { return ToBytes(recipe.render(recipe.length)); }

}  // namespace soundgen
