// Effects the real songs do not use, each on a small module played by our player and by
// the reference players: fine volume slides, note cut, tone portamento with volume slide,
// and a position jump, compared by loudness, cut time, pitch and note onsets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/module/module_builder.h"
#include "tests/module/reference_players.h"
#include "tests/module/scratch_path.h"

namespace {

// A sine of 32 bytes looped: period 428 plays it at about 259 Hz.
TestSample Sine(uint32_t volume = 64) {
    TestSample s;
    for (int i = 0; i < 32; ++i) s.bytes.push_back(int8_t(std::lround(100 * std::sin(2 * M_PI * i / 32))));
    s.volume = volume;
    s.loopLengthWords = 16;
    return s;
}

struct Both {
    Render ours;
    Signal ref;
};

// Our render and the reference's of the same image; the ref is empty if it failed.
Both Play(const std::vector<uint8_t>& image, const Reference& reference, const std::string& name) {
    std::string path = ScratchPath(name + ".mod");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    std::string out = path + "." + reference.name + ".wav";
    Both both{RenderOurs(image, 60), RenderReference(reference, path, out)};
    std::filesystem::remove(path);
    std::filesystem::remove(out);
    return both;
}

// The middle of row k in each render (the first tenth and last tenth left out).
struct Span {
    int64_t ourFrom, ourTo, refFrom, refTo;
};
Span Middle(const Both& b, const Reference& r, size_t k) {
    const RowEvent &e = b.ours.rows[k], &next = b.ours.rows[k + 1];
    int64_t ours = next.frame - e.frame, refStart = ReferenceFrame(e, r), refs = ReferenceFrame(next, r) - refStart;
    return {e.frame + ours / 10, next.frame - ours / 10, refStart + refs / 10, refStart + refs - refs / 10};
}

// The first frame of row k after which the render stays silent to the row's end.
int64_t SilentFrom(const Signal& s, int64_t from, int64_t to) {
    int64_t last = from - 1;
    for (int64_t i = from; i < to && i < int64_t(s.samples.size()); ++i)
        if (s.samples[i] != 0) last = i;
    return last + 1;
}

#define REQUIRE_REFERENCES()                      \
    for (const Reference& reference : References) \
        if (!HaveCommand(reference.name)) GTEST_SKIP() << reference.name << " is not installed";

}  // namespace

TEST(ModuleReferenceEffects, FineVolumeSlides) {
    REQUIRE_REFERENCES();
    ModuleBuilder b;
    b.Sample(1, Sine(32)).Cell(0, 0, 0, 1, 428);
    for (uint32_t r = 1; r <= 8; ++r) b.Cell(0, r, 0, 0, 0, 0xE, 0xA4);
    for (uint32_t r = 9; r <= 15; ++r) b.Cell(0, r, 0, 0, 0, 0xE, 0xB8);
    for (const Reference& reference : References) {
        Both both = Play(b.Build(), reference, "fine_slides");
        ASSERT_EQ(both.ref.rate, Rate) << reference.name;
        double worst = 0;
        Span first = Middle(both, reference, 0);
        double ours0 = Rms(both.ours.signal, first.ourFrom, first.ourTo),
               ref0 = Rms(both.ref, first.refFrom, first.refTo);
        for (size_t k = 1; k <= 15; ++k) {
            Span m = Middle(both, reference, k);
            double ours = Rms(both.ours.signal, m.ourFrom, m.ourTo) / ours0,
                   ref = Rms(both.ref, m.refFrom, m.refTo) / ref0;
            double volume = k <= 8 ? 32 + 4 * k : 64 - 8 * (k - 8);
            EXPECT_NEAR(ours, volume / 32, 0.02) << "row " << k;
            EXPECT_NEAR(ref, ours, 0.03) << reference.name << " row " << k;
            worst = std::max(worst, std::abs(ref - ours) * 100);
        }
        std::printf("fine volume slides vs %s: loudness within %.2f %% of the first row's\n", reference.name, worst);
    }
}

TEST(ModuleReferenceEffects, NoteCut) {
    REQUIRE_REFERENCES();
    ModuleBuilder b;
    b.Sample(1, Sine())
        .Cell(0, 0, 0, 1, 428)
        .Cell(0, 1, 0, 0, 0, 0xE, 0xC3)
        .Cell(0, 2, 0, 1, 428)
        .Cell(0, 3, 0, 0, 0, 0xE, 0xC1)
        .Cell(0, 4, 0, 1, 428)
        .Cell(0, 5, 0, 0, 0, 0xE, 0xC5)
        .Cell(0, 6, 0, 1, 428);
    for (const Reference& reference : References) {
        Both both = Play(b.Build(), reference, "note_cut");
        ASSERT_EQ(both.ref.rate, Rate) << reference.name;
        for (auto [row, ticks] : {std::pair<size_t, int>{1, 3}, {3, 1}, {5, 5}}) {
            const RowEvent &e = both.ours.rows[row], &next = both.ours.rows[row + 1];
            int64_t ourCut = SilentFrom(both.ours.signal, e.frame, next.frame) - e.frame;
            int64_t refStart = ReferenceFrame(e, reference);
            int64_t refCut = SilentFrom(both.ref, refStart, ReferenceFrame(next, reference)) - refStart;
            EXPECT_EQ(ourCut, ticks * 442) << "row " << row;  // our tick: 441 + 1 frames
            // The reference cuts at the same tick of its own 441-frame ticks (within half a millisecond).
            EXPECT_NEAR(double(refCut), ticks * 441.0, 11) << reference.name << " row " << row;
            std::printf("note cut EC%d vs %s: ours silent after %lld frames, the reference after %lld\n", ticks,
                        reference.name, (long long)ourCut, (long long)refCut);
        }
    }
}

TEST(ModuleReferenceEffects, TonePortamentoWithVolumeSlide) {
    REQUIRE_REFERENCES();
    ModuleBuilder b;
    b.Sample(1, Sine()).Cell(0, 0, 0, 1, 428).Cell(0, 1, 0, 0, 214, 0x3, 0x08);
    for (uint32_t r = 2; r <= 5; ++r) b.Cell(0, r, 0, 0, 0, 0x5, 0x02);
    for (const Reference& reference : References) {
        Both both = Play(b.Build(), reference, "porta_slide");
        ASSERT_EQ(both.ref.rate, Rate) << reference.name;
        double worstPitch = 0, worstLoudness = 0;
        Span first = Middle(both, reference, 0);
        double ours0 = Rms(both.ours.signal, first.ourFrom, first.ourTo),
               ref0 = Rms(both.ref, first.refFrom, first.refTo);
        for (size_t k = 1; k <= 5; ++k) {
            // The pitch over the row's last tick, where both have slid the furthest.
            const RowEvent& next = both.ours.rows[k + 1];
            int64_t refEnd = ReferenceFrame(next, reference);
            double ours = DominantFrequency(both.ours.signal, next.frame - 442, next.frame, 30, 6000).hz;
            double ref = DominantFrequency(both.ref, refEnd - 441, refEnd, 30, 6000).hz;
            EXPECT_NEAR(ours / ref, 1.0, 0.02) << reference.name << " row " << k;
            Span m = Middle(both, reference, k);
            double ourLoud = Rms(both.ours.signal, m.ourFrom, m.ourTo) / ours0;
            double refLoud = Rms(both.ref, m.refFrom, m.refTo) / ref0;
            EXPECT_NEAR(refLoud, ourLoud, 0.05) << reference.name << " row " << k;
            worstPitch = std::max(worstPitch, std::abs(ours / ref - 1) * 100);
            worstLoudness = std::max(worstLoudness, std::abs(refLoud - ourLoud) * 100);
        }
        std::printf("tone portamento with volume slide vs %s: pitch within %.2f %%, loudness within %.2f %%\n",
                    reference.name, worstPitch, worstLoudness);
    }
}

TEST(ModuleReferenceEffects, PositionJump) {
    REQUIRE_REFERENCES();
    // Entry 0 jumps to entry 2 at its row 3, which is silent so the next note stands out:
    // pattern 1 (a low note) is never heard.
    ModuleBuilder b(3);
    b.Song({0, 1, 2})
        .Sample(1, Sine())
        .Cell(0, 0, 0, 1, 428)
        .Cell(0, 3, 0, 0, 0, 0xC, 0)
        .Cell(0, 3, 1, 0, 0, 0xB, 2)
        .Cell(1, 0, 0, 1, 856)
        .Cell(2, 0, 0, 1, 214)
        .Cell(2, 2, 0, 1, 320);
    for (const Reference& reference : References) {
        Both both = Play(b.Build(), reference, "position_jump");
        ASSERT_EQ(both.ref.rate, Rate) << reference.name;
        ASSERT_EQ(both.ours.rows.size(), 4u + 64u);  // rows 0..3 of entry 0, then entry 2
        for (size_t k : {size_t(4), size_t(6)}) {
            Span m = Middle(both, reference, k);
            double ours = DominantFrequency(both.ours.signal, m.ourFrom, m.ourTo, 30, 6000).hz;
            double ref = DominantFrequency(both.ref, m.refFrom, m.refTo, 30, 6000).hz;
            EXPECT_NEAR(ours / ref, 1.0, 0.01) << reference.name << " row " << k;
            // The note starts where both say the row starts.
            const RowEvent& e = both.ours.rows[k];
            int64_t refStart = ReferenceFrame(e, reference);
            Onset o = FindOnset(both.ours.signal, e.frame - 88, e.frame + 89, 88);
            Onset r = FindOnset(both.ref, refStart - 88, refStart + 89, 88);
            EXPECT_NEAR(double((r.frame - refStart) - (o.frame - e.frame)), 0.0, 22) << reference.name << " row " << k;
            std::printf("position jump vs %s, row %zu: pitch ratio %.4f, onset difference %lld frames\n",
                        reference.name, k, ours / ref, (long long)((r.frame - refStart) - (o.frame - e.frame)));
        }
        // The song ends with entry 2, 68 rows long in both (openmpt123 adds a few ticks of tail).
        EXPECT_NEAR(double(both.ref.samples.size()), double(ReferenceFrame(both.ours.rows.back(), reference) + 2646),
                    2646.0)
            << reference.name;
    }
}
