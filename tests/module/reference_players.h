// Rendering modules with our player and with the reference players (openmpt123, xmp,
// Debian packages) at 22050 Hz mono, and our row times with when the references play them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sound/module_image.h"
#include "tests/module/audio_measure.h"

constexpr uint32_t Rate = 22050;

bool HaveCommand(const char* name);

struct RowEvent {
    int64_t frame;        // our frame of the row time
    double refSeconds;    // when a reference player starts the same row
    double firstTickLag;  // what a first tick at the starting tempo adds to that
    bool held;            // a pattern delay repeating the row
    ModuleCell cell[4];
    int32_t period[4];
    uint32_t step[4];
    uint32_t sample[4];
};

struct Render {
    Signal signal;
    std::vector<RowEvent> rows;
};

// Our mono render with the row times; stops at the end of the song.
Render RenderOurs(const std::vector<uint8_t>& image, double maxSeconds);

struct Reference {
    const char* name;
    const char* command;         // printf format: rate, output, input
    bool firstTickAtStartTempo;  // plays the song's first tick at tempo 125 whatever row 0 says
};
extern const Reference References[2];

// The reference's render of the module file at modulePath (written to outPath, read back).
Signal RenderReference(const Reference& reference, const std::string& modulePath, const std::string& outPath);
// The frame at which a reference starts the row.
int64_t ReferenceFrame(const RowEvent& row, const Reference& reference);
