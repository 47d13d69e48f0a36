// The rows of a new frame that differ from the picture the window shows, as a few bands.
// Only they are widened and handed to the window system: on the title, where the ghosts'
// skirts ripple two rows at a time, that is a tenth of the rows between the first change
// and the last.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

struct RowBand {
    int top;     // first changed row
    int bottom;  // one past the last
};

struct ChangedRows {
    // Changes closer than this many rows share a band: a short gap costs less to draw
    // again than another rectangle costs the window system.
    static constexpr int kJoinGap = 4;
    static constexpr int kMostBands = 8;  // past this, the last band grows to take the rest
    int count = 0;
    std::array<RowBand, kMostBands> bands{};
};

// Compares `rows` rows, `pitch` bytes each, of two frames.
ChangedRows FindChangedRows(const uint8_t* frame, const uint8_t* onScreen, size_t pitch, int rows);
