// Real songs against two reference players, by measurement: the onset of every note
// row and the dominant frequency of each channel's rows, one channel at a time.
// Our tick lasts samplesPerTick + 1 frames and our tempo divides by (tempo x 2) / 5, the
// references' tick is rate x 2.5 / tempo whole frames: the predicted times allow for
// exactly that, nothing more.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "sound/module_image.h"
#include "tests/module/audio_measure.h"
#include "tests/module/module_builder.h"
#include "tests/module/reference_players.h"
#include "tests/module/scratch_path.h"
#include "tests/support/file_bytes.h"

namespace {

constexpr double PeriodClock = 3546895.0;
const char* const SongFolder = "/usr/share/tuxtype/sounds/";

// The song with every channel but one silenced; the effects that move the song
// (speed, tempo, jumps, breaks, pattern delays) stay, so the timing is the same.
std::vector<uint8_t> Solo(std::vector<uint8_t> image, uint32_t keep) {
    uint32_t patterns = ImagePatternCount(image.data(), image.size());
    for (uint32_t p = 0; p < patterns; ++p)
        for (uint32_t r = 0; r < 64; ++r)
            for (uint32_t c = 0; c < 4; ++c) {
                if (c == keep) continue;
                size_t at = ModulePatternsAt + p * ModulePatternBytes + r * 16 + c * 4;
                uint8_t effect = image[at + 2] & 0x0F, parameter = image[at + 3];
                bool movesSong =
                    effect == 0xB || effect == 0xD || effect == 0xF || (effect == 0xE && (parameter >> 4) == 0xE);
                image[at] = image[at + 1] = 0;
                image[at + 2] = movesSong ? effect : 0;
                image[at + 3] = movesSong ? parameter : 0;
            }
    return image;
}

bool StartsNote(const ModuleCell& cell) {
    bool delayed = cell.effect == 0xE && (cell.parameter >> 4) == 0xD;
    return cell.period != 0 && cell.effect != 3 && cell.effect != 5 && !delayed;
}

std::string Kind(const ModuleCell& cell, uint32_t finetune) {
    switch (cell.effect) {
        case 0x0: return cell.parameter ? "arpeggio" : finetune ? "finetune" : "plain";
        case 0x1:
        case 0x2: return "portamento";
        case 0x3:
        case 0x5: return "tone portamento";
        case 0x4:
        case 0x6: return "vibrato";
        case 0xE: return (cell.parameter >> 4) == 0xD ? "note delay" : finetune ? "finetune" : "plain";
        default: return finetune ? "finetune" : "plain";
    }
}

struct Figures {
    std::vector<double> onsetMs;  // |difference| per matched onset
    uint32_t onsetsTried = 0;
    std::map<std::string, std::vector<double>> pitch;  // |deviation| in percent per row kind
};

void Compare(const Render& ours, const Signal& ref, const Reference& reference, uint32_t channel,
             const ModuleVoice& voice, Figures& figures) {
    const auto& rows = ours.rows;
    double peak = 0;
    for (size_t k = 0; k + 1 < rows.size(); ++k)
        peak = std::max(peak, Rms(ours.signal, rows[k].frame, rows[k + 1].frame));
    for (size_t k = 0; k + 1 < rows.size(); ++k) {
        const RowEvent& e = rows[k];
        if (e.held) continue;
        const ModuleCell& cell = e.cell[channel];
        int64_t ourStart = e.frame, ourEnd = rows[k + 1].frame;
        int64_t refStart = ReferenceFrame(e, reference), refEnd = ReferenceFrame(rows[k + 1], reference);
        if (StartsNote(cell) && voice.sampleData[e.sample[channel]]) {
            // Search a few milliseconds either side, never reaching the rows around.
            int64_t before = k > 0 ? e.frame - rows[k - 1].frame : 1 << 20;
            int64_t reach = std::min<int64_t>({int64_t(0.004 * Rate), before / 2, (ourEnd - ourStart) / 2});
            int64_t span = std::max<int64_t>(reach, 16);
            ++figures.onsetsTried;
            Onset o = FindOnset(ours.signal, ourStart - reach, ourStart + reach + 1, span);
            Onset r = FindOnset(ref, refStart - reach, refStart + reach + 1, span);
            // Only notes that stand out from what sounds before them (twice as loud) are timed.
            if (o.frame >= 0 && r.frame >= 0 && o.ratio >= 2 && r.ratio >= 2)
                figures.onsetMs.push_back(std::abs(double((r.frame - refStart) - (o.frame - ourStart))) * 1000.0 /
                                          Rate);
        }
        // The dominant frequency of the row, away from its edges, where it sounds in both.
        if (e.step[channel] == 0 || e.period[channel] <= 0 || !voice.sampleData[e.sample[channel]]) continue;
        int64_t ourLength = ourEnd - ourStart, refLength = refEnd - refStart;
        if (ourLength < 1024) continue;
        int64_t oa = ourStart + ourLength / 10, ob = ourEnd - ourLength / 20;
        int64_t ra = refStart + refLength / 10, rb = refEnd - refLength / 20;
        double ourRms = Rms(ours.signal, oa, ob), refRms = Rms(ref, ra, rb);
        if (ourRms < 0.05 * peak || refRms < 1e-4) continue;
        Peak po = DominantFrequency(ours.signal, oa, ob, 30, 6000);
        Peak pr = DominantFrequency(ref, ra, rb, 30, 6000);
        // Drums and noise have no dominant frequency: only clear tones are compared.
        if (po.hz <= 0 || pr.hz <= 0 || po.clarity < 2 || pr.clarity < 2) continue;
        double fo = po.hz, fr = pr.hz;
        // Our 8.8 step is truncated: the exact pitch ratio of the row's note is known.
        double expected = e.step[channel] * double(e.period[channel]) * Rate / (256.0 * PeriodClock);
        double deviation = std::abs(fo / fr / expected - 1.0) * 100.0;
        figures.pitch[Kind(cell, voice.finetune[e.sample[channel]])].push_back(deviation);
    }
}

}  // namespace

TEST(ModuleReference, RealSongsAgreeWithTheReferencePlayers) {
    for (const Reference& reference : References)
        if (!HaveCommand(reference.name)) GTEST_SKIP() << reference.name << " is not installed (Debian package)";
    if (!std::filesystem::exists(std::string(SongFolder) + "game.mod"))
        GTEST_SKIP() << "the songs of Debian's tuxtype-data are not installed";

    const std::filesystem::path work = std::filesystem::path(ScratchPath("reference")).parent_path();
    for (const char* song : {"game.mod", "game2.mod", "game3.mod"}) {
        std::vector<uint8_t> image = FileBytes(std::string(SongFolder) + song);
        ASSERT_FALSE(image.empty()) << song;
        std::map<std::string, Figures> figures;
        for (uint32_t channel = 0; channel < 4; ++channel) {
            std::vector<uint8_t> solo = Solo(image, channel);
            std::string soloPath = (work / (std::string(song) + ".solo" + std::to_string(channel) + ".mod")).string();
            FILE* f = std::fopen(soloPath.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fwrite(solo.data(), 1, solo.size(), f);
            std::fclose(f);
            Render ours = RenderOurs(solo, 900);
            TestPlayer probe(solo);  // for the sample tables
            for (const Reference& reference : References) {
                std::string out = soloPath + "." + reference.name + ".wav";
                Signal ref = RenderReference(reference, soloPath, out);
                ASSERT_EQ(ref.rate, Rate) << reference.name << " could not render " << soloPath;
                Compare(ours, ref, reference, channel, probe.voice, figures[reference.name]);
                std::filesystem::remove(out);
            }
            std::filesystem::remove(soloPath);
        }
        for (auto& [name, f] : figures) {
            std::printf("%s vs %s: onsets %zu of %u measured, |difference| median %.3f ms, 95%% %.3f ms, max %.3f ms\n",
                        song, name.c_str(), f.onsetMs.size(), f.onsetsTried, Quantile(f.onsetMs, 0.5),
                        Quantile(f.onsetMs, 0.95), Quantile(f.onsetMs, 1.0));
            EXPECT_GE(f.onsetMs.size() * 10, f.onsetsTried * 7u) << song << " " << name;
            EXPECT_LE(Quantile(f.onsetMs, 0.5), 0.1) << song << " " << name;
            EXPECT_LE(Quantile(f.onsetMs, 0.95), 1.0) << song << " " << name;
            for (auto& [kind, deviations] : f.pitch) {
                // Our vibrato is half as deep as theirs (its delta is in 1/256 of a period).
                const std::map<std::string, double> medianLimit = {{"plain", 0.25},          {"finetune", 0.75},
                                                                   {"arpeggio", 1.0},        {"portamento", 1.0},
                                                                   {"tone portamento", 1.0}, {"vibrato", 3.0}};
                if (deviations.size() >= 5 && medianLimit.count(kind)) {
                    EXPECT_LE(Quantile(deviations, 0.5), medianLimit.at(kind)) << song << " " << name << " " << kind;
                }
                size_t within = 0;
                for (double d : deviations) within += d <= 0.5;
                std::printf(
                    "    %-16s rows %4zu  pitch |deviation| median %.3f %%  95%% %.3f %%  within 0.5 %%: %.1f %%\n",
                    kind.c_str(), deviations.size(), Quantile(deviations, 0.5), Quantile(deviations, 0.95),
                    100.0 * double(within) / double(std::max<size_t>(1, deviations.size())));
            }
        }
    }
}
