// The module player's tables, worked out at compile time from their rules: periods
// detuned by finetune, nearest note of every period, 8.8 steps per output rate, vibrato sine.
#include "sound/module_tables.h"

#include <algorithm>
#include <cstddef>

namespace {

// A plain array that can be built by a constexpr function and bound to a reference.
template <class T, size_t N>
struct Table {
    T v[N];
    constexpr T& operator[](size_t i) { return v[i]; }
    constexpr const T& operator[](size_t i) const { return v[i]; }
};

// The notes of finetune 0, six octaves of twelve semitones, highest period first.
// clang-format off: one octave a line
constexpr uint32_t BaseNotes[PeriodColumns] = {
    1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907, 856, 808, 762, 720, 678, 640,
    604,  570,  538,  508,  480,  453,  428,  404,  381,  360,  339, 320, 302, 285, 269, 254, 240, 226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120, 113, 107, 101, 95,  90,  85,  80,
    76,   71,   67,   64,   60,   57,   53,   50,   47,   45,   42,  40,  37,  35,  33,  31,  30,  28};
// clang-format on

// e^x by its series; plenty for ratios near 1 and periods below 2000.
constexpr double Exp(double x) {
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n < 40; ++n) {
        term *= x / n;
        sum += term;
    }
    return sum;
}

constexpr double Ln2 = 0.693147180559945309417232121458176568;

// Row f is finetune f read as a signed nibble: each period is floor(base x 2^(-tune/96)).
constexpr Table<uint32_t, PeriodCount> MakePeriods() {
    Table<uint32_t, PeriodCount> table{};
    for (int row = 0; row < PeriodRows; ++row) {
        int tune = row < 8 ? row : row - 16;
        double ratio = Exp(-tune * Ln2 / 96.0);
        for (int n = 0; n < PeriodColumns; ++n) table[row * PeriodColumns + n] = uint32_t(BaseNotes[n] * ratio);
    }
    return table;
}

constexpr Table<uint32_t, PeriodCount> Periods = MakePeriods();

struct Entry {
    uint32_t value;
    uint32_t index;
};

// For every period 0..1713 the flat index of the nearest table value, the lowest index on a tie.
// The entries are sorted by value once and swept, so the work stays small at compile time.
constexpr Table<uint32_t, NearestNoteCount> MakeNearest() {
    Table<Entry, PeriodCount> sorted{};
    for (uint32_t i = 0; i < PeriodCount; ++i) sorted[i] = {Periods[i], i};
    std::sort(sorted.v, sorted.v + PeriodCount, [](const Entry& a, const Entry& b) {
        return a.value != b.value ? a.value < b.value : a.index < b.index;
    });
    Table<uint32_t, NearestNoteCount> table{};
    uint32_t above = 0;  // first sorted entry whose value is >= the period
    for (uint32_t p = 0; p < NearestNoteCount; ++p) {
        while (above < PeriodCount && sorted[above].value < p) ++above;
        bool hasAbove = above < PeriodCount;
        bool hasBelow = above > 0;
        if (!hasBelow) {
            table[p] = sorted[above].index;
            continue;
        }
        // The lowest index among the entries sharing the value just below.
        uint32_t belowValue = sorted[above - 1].value;
        uint32_t first = above - 1;
        while (first > 0 && sorted[first - 1].value == belowValue) --first;
        Entry below = sorted[first];
        if (!hasAbove) {
            table[p] = below.index;
            continue;
        }
        Entry up = sorted[above];
        uint32_t dBelow = p - below.value;
        uint32_t dAbove = up.value - p;
        if (dBelow < dAbove) table[p] = below.index;
        else if (dAbove < dBelow) table[p] = up.index;
        else table[p] = std::min(below.index, up.index);
    }
    return table;
}

constexpr Table<uint32_t, NearestNoteCount> Nearest = MakeNearest();

constexpr uint32_t PeriodClock = 3546895;

// Entry p = floor(clock x 256 / (p x rate)) cut to 16 bits for p = 1..1712, else 0.
constexpr Table<uint16_t, StepTableSize> MakeSteps(uint32_t rate) {
    Table<uint16_t, StepTableSize> table{};
    for (uint32_t p = 1; p <= 1712; ++p) table[p] = uint16_t(uint64_t(PeriodClock) * 256 / (uint64_t(p) * rate));
    return table;
}

constexpr Table<uint16_t, StepTableSize> Steps11025 = MakeSteps(11025);
constexpr Table<uint16_t, StepTableSize> Steps22050 = MakeSteps(22050);
constexpr Table<uint16_t, StepTableSize> Steps44100 = MakeSteps(44100);

// The values the rules promise, checked where the tables are made.
static_assert(Periods[0] == 1712 && Periods[71] == 28 && Periods[12] == 856);
static_assert(Periods[1 * 72] == 1699 && Periods[7 * 72] == 1627 && Periods[8 * 72] == 1813 &&
              Periods[15 * 72] == 1724);
static_assert(Nearest[0] == 6 * 72 + 71 && Nearest[26] == 6 * 72 + 71);
static_assert(Nearest[856] == 12 && Nearest[113] == 47);
static_assert(Steps22050[428] == 96 && Steps11025[1] == 16822);
static_assert(Steps22050[0] == 0 && Steps22050[1713] == 0 && Steps22050[1715] == 0);
static_assert(*std::max_element(Periods.v, Periods.v + PeriodCount) == uint32_t(LongestNotePeriod));

}  // namespace

const uint32_t (&PeriodTable)[PeriodCount] = Periods.v;
const uint32_t (&NearestNoteTable)[NearestNoteCount] = Nearest.v;

const int32_t VibratoTable[32] = {0,   25,  49,  74,  97,  120, 142, 162, 181, 197, 212, 225, 236, 244, 251, 254,
                                  256, 254, 251, 244, 236, 225, 212, 197, 181, 162, 142, 120, 97,  74,  49,  25};

uint32_t StepOfPeriod(const uint16_t* steps, uint32_t rate, int32_t period) {
    if (uint32_t(period) < uint32_t(StepTableSize)) return steps[period];
    if (period < StepTableSize || period > LongestNotePeriod || rate == 0) return 0;
    return uint32_t(uint64_t(PeriodClock) * 256 / (uint64_t(period) * rate)) & 0xFFFF;
}

uint32_t NoteIndexOf(int32_t period) { return NearestNoteTable[std::clamp<int32_t>(period, 0, NearestNoteCount - 1)]; }

uint32_t PeriodAt(uint32_t index) { return PeriodTable[std::min<uint32_t>(index, PeriodCount - 1)]; }

const uint16_t* StepTableFor(uint32_t rate) {
    switch (rate) {
        case 11025: return Steps11025.v;
        case 44100: return Steps44100.v;
        default: return Steps22050.v;
    }
}
