// Each effect on a small module: pitch effects through the channel's period and step,
// volume effects through its volume, cut and delay through what is heard.
#include <gtest/gtest.h>

#include "tests/module/module_builder.h"

namespace {

const uint16_t* Steps() { return StepTableFor(22050); }

// Channel 0 plays period 428 with sample 1 on row 0; row 1 carries the effect under test.
TestPlayer EffectOnRow1(uint32_t effect, uint32_t parameter, uint32_t period = 0, TestSample s = Flat(20)) {
    ModuleBuilder b;
    b.Sample(1, s).Cell(0, 0, 0, 1, 428).Cell(0, 1, 0, 0, period, effect, parameter);
    return TestPlayer(b.Build());
}

uint64_t Tick(uint32_t row, uint32_t tick) { return uint64_t(row) * RowFrames + uint64_t(tick) * TickFrames; }

}  // namespace

TEST(ModuleEffects, Arpeggio) {
    TestPlayer p = EffectOnRow1(0x0, 0x37);
    p.RunThrough(Tick(1, 0));
    const uint32_t base = Steps()[428], third = Steps()[PeriodTable[24 + 3]], fifth = Steps()[PeriodTable[24 + 7]];
    EXPECT_EQ(p.voice.step[0], base);
    const uint32_t cycle[3] = {third, fifth, base};
    for (uint32_t t = 1; t < 6; ++t) {
        p.RunThrough(Tick(1, t));
        EXPECT_EQ(p.voice.step[0], cycle[(t - 1) % 3]) << "tick " << t;
    }
    p.RunThrough(Tick(2, 0));  // the next row brings the note back
    EXPECT_EQ(p.voice.step[0], base);
}

TEST(ModuleEffects, PortamentoUpAndDown) {
    TestPlayer up = EffectOnRow1(0x1, 5);
    up.RunThrough(Tick(1, 5));
    EXPECT_EQ(up.voice.period[0], 428 - 25);
    EXPECT_EQ(up.voice.step[0], Steps()[403]);
    up.RunThrough(Tick(2, 0));  // the slid period stays
    EXPECT_EQ(up.voice.step[0], Steps()[403]);

    TestPlayer down = EffectOnRow1(0x2, 0x10);
    down.RunThrough(Tick(1, 3));
    EXPECT_EQ(down.voice.period[0], 428 + 48);
}

TEST(ModuleEffects, PortamentoKeepsItsStepWhereTheTableHasNone) {
    // 428 less 107 a tick reaches period 0 on tick 4: no step there, the note holds its pitch
    // instead of leaping to the step of period 1; the period goes on below 0 as computed.
    TestPlayer up = EffectOnRow1(0x1, 107);
    up.RunThrough(Tick(1, 4));
    EXPECT_EQ(up.voice.period[0], 0);
    EXPECT_EQ(up.voice.step[0], Steps()[107]);
    up.RunThrough(Tick(1, 5));
    EXPECT_EQ(up.voice.period[0], -107);
    EXPECT_EQ(up.voice.step[0], Steps()[107]);
    up.RunThrough(Tick(2, 0));
    EXPECT_EQ(up.voice.step[0], 0u);  // the next row reads the period it was left at

    // Past the longest period of all (1813) the last step stays too.
    TestPlayer down = EffectOnRow1(0x2, 0xFF, 1616);
    down.RunThrough(Tick(1, 5));
    EXPECT_EQ(down.voice.period[0], 1616 + 5 * 255);
    EXPECT_EQ(down.voice.step[0], Steps()[1616]);
}

TEST(ModuleEffects, TonePortamento) {
    TestPlayer p = EffectOnRow1(0x3, 0x40, 214);
    p.RunThrough(Tick(1, 0));
    EXPECT_EQ(p.voice.period[0], 428);   // no new note at row time
    EXPECT_GT(p.voice.position[0], 0u);  // and the sample goes on
    EXPECT_EQ(p.voice.portaTarget[0], 214);
    const int32_t expected[6] = {0, 364, 300, 236, 214, 214};
    for (uint32_t t = 1; t < 6; ++t) {
        p.RunThrough(Tick(1, t));
        EXPECT_EQ(p.voice.period[0], expected[t]) << t;
        EXPECT_EQ(p.voice.step[0], Steps()[expected[t]]);
    }
    // Sliding down toward a longer period stops at the target too.
    TestPlayer q = EffectOnRow1(0x3, 0xFF, 856);
    q.RunThrough(Tick(1, 2));
    EXPECT_EQ(q.voice.period[0], 856);
}

TEST(ModuleEffects, TonePortamentoWithVolumeSlide) {
    ModuleBuilder b;
    b.Sample(1, Flat(20)).Cell(0, 0, 0, 1, 428).Cell(0, 1, 0, 0, 214, 0x3, 0x10).Cell(0, 2, 0, 0, 0, 0x5, 0x02);
    TestPlayer p(b.Build());
    p.RunThrough(Tick(2, 5));
    EXPECT_EQ(p.voice.period[0], 428 - 16 * 10);  // speed and target remembered
    EXPECT_EQ(p.voice.channelVolume[0].load(), 64u - 10);
}

TEST(ModuleEffects, Vibrato) {
    TestPlayer p = EffectOnRow1(0x4, 0x48);
    p.RunThrough(Tick(1, 0));
    EXPECT_EQ(p.voice.vibratoSpeed[0], 4u);
    EXPECT_EQ(p.voice.vibratoDepth[0], 8u);
    p.RunThrough(Tick(1, 1));
    EXPECT_EQ(p.voice.step[0], Steps()[428]);  // position 0: no bend
    p.RunThrough(Tick(1, 2));
    EXPECT_EQ(p.voice.step[0], Steps()[(428 * 256 + 97 * 8) >> 8]);
    p.RunThrough(Tick(1, 5));
    EXPECT_EQ(p.voice.step[0], Steps()[(428 * 256 + 256 * 8) >> 8]);
    EXPECT_EQ(p.voice.period[0], 428);  // the period itself never moves
}

TEST(ModuleEffects, VibratoSecondHalfBendsTheOtherWay) {
    ModuleBuilder b;
    b.Sample(1, Flat(20)).Cell(0, 0, 0, 1, 428);
    for (uint32_t r = 1; r < 4; ++r) b.Cell(0, r, 0, 0, 0, 0x4, 0xF8);
    TestPlayer p(b.Build());
    // Speed 15: positions 0, 15, 30, 45 (second half), 60, then 75 - 64 = 11.
    p.RunThrough(Tick(1, 4));
    EXPECT_EQ(p.voice.step[0], Steps()[(428 * 256 - VibratoTable[45 % 32] * 8) >> 8]);
    p.RunThrough(Tick(1, 5));
    EXPECT_EQ(p.voice.vibratoPosition[0], 11u);
}

TEST(ModuleEffects, VibratoWithVolumeSlideUsesTheRememberedShape) {
    TestPlayer p = EffectOnRow1(0x6, 0x30);
    p.RunThrough(Tick(1, 5));
    EXPECT_EQ(p.voice.vibratoSpeed[0], 9u);  // as constructed
    EXPECT_EQ(p.voice.vibratoDepth[0], 2u);
    EXPECT_EQ(p.voice.channelVolume[0].load(), 64u);                                    // slid up 3 a tick, held at 64
    EXPECT_EQ(p.voice.step[0], Steps()[(428 * 256 - VibratoTable[36 % 32] * 2) >> 8]);  // position 36
}

TEST(ModuleEffects, SampleOffset) {
    TestPlayer p = EffectOnRow1(0x9, 0x02, 428);
    p.RunThrough(Tick(1, 0));
    EXPECT_EQ(p.voice.position[0], (512u << 8) + Steps()[428]);  // 512 bytes in, then one frame
}

TEST(ModuleEffects, VolumeSlideSetVolumeAndFineSlides) {
    TestPlayer down = EffectOnRow1(0xA, 0x0F);
    down.RunThrough(Tick(1, 4));
    EXPECT_EQ(down.voice.channelVolume[0].load(), 4u);
    down.RunThrough(Tick(1, 5));
    EXPECT_EQ(down.voice.channelVolume[0].load(), 0u);  // stops at 0

    TestPlayer set = EffectOnRow1(0xC, 80);
    set.RunThrough(Tick(1, 0));
    EXPECT_EQ(set.voice.channelVolume[0].load(), 64u);  // C with 80 sets 64

    ModuleBuilder b;
    b.Sample(1, Flat(20, 60000, 10))
        .Cell(0, 0, 0, 1, 428, 0xE, 0xB4)
        .Cell(0, 1, 0, 0, 0, 0xE, 0xB9)
        .Cell(0, 2, 0, 0, 0, 0xE, 0xAF)
        .Cell(0, 3, 0, 0, 0, 0xE, 0xAF)
        .Cell(0, 4, 0, 0, 0, 0xE, 0xAF)
        .Cell(0, 5, 0, 0, 0, 0xE, 0xAF)
        .Cell(0, 6, 0, 0, 0, 0xE, 0xAF);
    TestPlayer fine(b.Build());
    fine.RunThrough(Tick(0, 5));
    EXPECT_EQ(fine.voice.channelVolume[0].load(), 6u);  // once per row, not per tick
    fine.RunThrough(Tick(1, 0));
    EXPECT_EQ(fine.voice.channelVolume[0].load(), 0u);  // EB below 0 gives 0
    fine.RunThrough(Tick(6, 0));
    EXPECT_EQ(fine.voice.channelVolume[0].load(), 64u);  // EA stops at 64
}

TEST(ModuleEffects, NoteCut) {
    TestPlayer p = EffectOnRow1(0xE, 0xC3);
    p.RunThrough(Tick(1, 3) - 2);
    EXPECT_EQ(p.Frame().first, (64 - 16) * 20);
    p.RunThrough(Tick(1, 3));
    EXPECT_EQ(p.voice.effectiveVolume[0].load(), 0u);
    EXPECT_EQ(p.voice.channelVolume[0].load(), 64u);  // the volume stays
    EXPECT_EQ(p.Frame().first, 0);
    p.voice.SetVolume(64);  // the next recompute brings the sound back
    EXPECT_EQ(p.Frame().first, (64 - 16) * 20);

    TestPlayer never = EffectOnRow1(0xE, 0xC0);
    never.RunThrough(Tick(1, 5));
    EXPECT_EQ(never.voice.effectiveVolume[0].load(), 64u);
}

TEST(ModuleEffects, NoteDelay) {
    TestPlayer p = EffectOnRow1(0xE, 0xD2, 214);
    p.RunThrough(Tick(1, 2));
    EXPECT_EQ(p.voice.step[0], Steps()[428]);
    p.RunThrough(Tick(1, 3));           // y + 1
    EXPECT_EQ(p.voice.period[0], 214);  // as written, not finetuned
    EXPECT_EQ(p.voice.step[0], Steps()[214]);
    EXPECT_GT(p.voice.position[0], uint32_t(Tick(1, 3)) * Steps()[428] / 2);  // not restarted
    EXPECT_EQ(p.voice.delayCount[0], NoDelay);

    // A delay on a cell without a note changes nothing.
    TestPlayer none = EffectOnRow1(0xE, 0xD1, 0);
    none.RunThrough(Tick(1, 5));
    EXPECT_EQ(none.voice.step[0], Steps()[428]);
    EXPECT_EQ(none.voice.period[0], 428);
}

TEST(ModuleEffects, FinetunedNotes) {
    TestSample s = Flat(20);
    s.finetune = 0xF;  // -1
    ModuleBuilder b;
    b.Sample(1, s).Cell(0, 0, 0, 1, 428);
    TestPlayer p(b.Build());
    p.RunThrough(0);
    EXPECT_EQ(p.voice.period[0], int32_t(PeriodTable[15 * 72 + 24]));
}

TEST(ModuleEffects, SampleChangeWithoutAPeriod) {
    ModuleBuilder b;
    b.Sample(1, Flat(20, 60000, 64)).Sample(2, Flat(-30, 60000, 16)).Cell(0, 0, 0, 1, 428).Cell(0, 1, 0, 2, 0);
    TestPlayer p(b.Build());
    p.RunThrough(Tick(1, 0) - 1);
    uint32_t position = p.voice.position[0];
    auto [left, right] = p.Frame();
    EXPECT_EQ(p.voice.sample[0], 2u);
    EXPECT_EQ(p.voice.channelVolume[0].load(), 16u);
    EXPECT_EQ(p.voice.period[0], 428);
    EXPECT_EQ(p.voice.position[0], position + Steps()[428]);  // not restarted
    EXPECT_EQ(left + right, 16 * -30);
}
