// The module tables against their rules and against every value the rules state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "sound/module_tables.h"

TEST(ModuleTables, PeriodRowZeroAndFirstColumn) {
    const uint32_t row0[72] = {1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907, 856, 808, 762,
                               720,  678,  640,  604,  570,  538,  508,  480,  453,  428,  404, 381, 360, 339, 320,
                               302,  285,  269,  254,  240,  226,  214,  202,  190,  180,  170, 160, 151, 143, 135,
                               127,  120,  113,  107,  101,  95,   90,   85,   80,   76,   71,  67,  64,  60,  57,
                               53,   50,   47,   45,   42,   40,   37,   35,   33,   31,   30,  28};
    for (int n = 0; n < 72; ++n) EXPECT_EQ(PeriodTable[n], row0[n]) << "note " << n;
    const uint32_t column0[16] = {1712, 1699, 1687, 1675, 1663, 1651, 1639, 1627,
                                  1813, 1800, 1787, 1774, 1762, 1749, 1736, 1724};
    for (int f = 0; f < 16; ++f) EXPECT_EQ(PeriodTable[f * 72], column0[f]) << "finetune row " << f;
}

TEST(ModuleTables, EveryRowIsRowZeroDetunedByItsFinetune) {
    for (int f = 0; f < 16; ++f) {
        int tune = f < 8 ? f : f - 16;
        for (int n = 0; n < 72; ++n) {
            double exact = std::floor(PeriodTable[n] * std::pow(2.0, -tune / 96.0));
            EXPECT_LE(std::abs(double(PeriodTable[f * 72 + n]) - exact), 1.0) << "row " << f << " note " << n;
        }
        // Within a row the periods fall note by note.
        for (int n = 1; n < 72; ++n) EXPECT_LT(PeriodTable[f * 72 + n], PeriodTable[f * 72 + n - 1]);
    }
}

TEST(ModuleTables, NearestNoteIsTheClosestEntryLowestIndexOnTies) {
    for (uint32_t p = 0; p < NearestNoteCount; ++p) {
        uint32_t best = 0;
        uint32_t bestDistance = UINT32_MAX;
        for (uint32_t i = 0; i < PeriodCount; ++i) {
            uint32_t d = PeriodTable[i] > p ? PeriodTable[i] - p : p - PeriodTable[i];
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        ASSERT_EQ(NearestNoteTable[p], best) << "period " << p;
    }
    for (uint32_t p = 0; p <= 26; ++p) EXPECT_EQ(NearestNoteTable[p], 6u * 72 + 71);
    EXPECT_EQ(PeriodTable[6 * 72 + 71], 26u);
    EXPECT_EQ(NearestNoteTable[856], 12u);
    EXPECT_EQ(NearestNoteTable[113], 47u);
}

TEST(ModuleTables, StepsOfTheThreeRates) {
    for (uint32_t rate : {11025u, 22050u, 44100u}) {
        const uint16_t* steps = StepTableFor(rate);
        EXPECT_EQ(steps[0], 0);
        for (uint32_t p = 1; p <= 1712; ++p)
            ASSERT_EQ(steps[p], uint16_t(uint64_t(3546895) * 256 / (uint64_t(p) * rate))) << rate << " " << p;
        for (uint32_t p = 1713; p < StepTableSize; ++p) EXPECT_EQ(steps[p], 0) << p;
    }
    EXPECT_EQ(StepTableFor(22050)[428], 96);
    EXPECT_EQ(StepTableFor(11025)[1], 16822);  // wrapped to 16 bits
    EXPECT_EQ(StepTableFor(32000), StepTableFor(22050));
    EXPECT_NE(StepTableFor(11025), StepTableFor(44100));
}

TEST(ModuleTables, VibratoIsAHalfSine) {
    const int32_t stated[32] = {0,   25,  49,  74,  97,  120, 142, 162, 181, 197, 212, 225, 236, 244, 251, 254,
                                256, 254, 251, 244, 236, 225, 212, 197, 181, 162, 142, 120, 97,  74,  49,  25};
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(VibratoTable[i], stated[i]);
        EXPECT_EQ(VibratoTable[i], int32_t(256 * std::sin(M_PI * i / 32))) << i;
    }
}
