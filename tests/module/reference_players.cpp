// Our renders with row times, and the reference players' renders of the same files.
#include "tests/module/reference_players.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/module/module_builder.h"

bool HaveCommand(const char* name) {
    std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(probe.c_str()) == 0;
}

Render RenderOurs(const std::vector<uint8_t>& image, double maxSeconds) {
    Render out;
    out.signal.rate = Rate;
    auto player = std::make_unique<TestPlayer>(image, Rate, false, false);
    ModuleVoice& v = player->voice;
    uint32_t tempo = 125;
    double refSeconds = 0, firstTickLag = 0;
    const int64_t limit = int64_t(maxSeconds * Rate);
    for (int64_t frame = 0; frame < limit && !v.stopped.load(); ++frame) {
        bool rowTime = v.tick == v.speed;
        bool held = rowTime && v.patternDelay != 0;
        RowEvent event{};
        if (rowTime && !v.songEnded)
            for (uint32_t c = 0; c < 4; ++c) event.cell[c] = ImageCell(v.data, v.dataSize, v.pattern, v.row, c);
        int32_t left = 0, right = 0;
        v.MixFrame(left, right);
        out.signal.samples.push_back(left / (64.0 * 128.0));
        if (!rowTime || v.stopped.load()) continue;
        if (!held)
            for (uint32_t c = 0; c < 4; ++c)
                if (event.cell[c].effect == 0xF && event.cell[c].parameter > 32) tempo = event.cell[c].parameter;
        event.frame = frame;
        event.refSeconds = refSeconds;
        event.firstTickLag = firstTickLag;
        event.held = held;
        for (uint32_t c = 0; c < 4; ++c) {
            event.period[c] = v.period[c];
            event.step[c] = v.step[c];
            event.sample[c] = v.sample[c];
        }
        out.rows.push_back(event);
        // The reference players tick in whole frames: rate x 2.5 / tempo, truncated.
        refSeconds += v.speed * double(Rate * 5 / (tempo * 2)) / Rate;
        if (out.rows.size() == 1) firstTickLag = double(Rate * 5 / 250) / Rate - double(Rate * 5 / (tempo * 2)) / Rate;
    }
    return out;
}

const Reference References[2] = {
    {"openmpt123",
     "openmpt123 --batch --quiet --force --subsong 0 --samplerate %u --channels 1 --no-float --filter 1 --ramping 0 "
     "--dither 0 --stereo 100 --repeat 0 --ctl render.resampler.emulate_amiga=0 -o '%s' '%s' >/dev/null 2>&1",
     true},
    {"xmp", "xmp --nocmd --norc --quiet -f %u -i nearest -m -P 100 -o '%s' '%s' >/dev/null 2>&1", false},
};

Signal RenderReference(const Reference& reference, const std::string& modulePath, const std::string& outPath) {
    char command[1024];
    std::snprintf(command, sizeof command, reference.command, Rate, outPath.c_str(), modulePath.c_str());
    if (std::system(command) != 0) return {};
    return ReadWav(outPath);
}

int64_t ReferenceFrame(const RowEvent& row, const Reference& reference) {
    double seconds = row.refSeconds + (reference.firstTickAtStartTempo ? row.firstTickLag : 0);
    return int64_t(std::llround(seconds * Rate));
}
