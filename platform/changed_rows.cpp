// Finding the bands of changed rows (changed_rows.h).
#include "platform/changed_rows.h"
#include <cstring>

ChangedRows FindChangedRows(const uint8_t* frame, const uint8_t* onScreen, size_t pitch, int rows) {
    ChangedRows changed;
    for (int y = 0; y < rows; ++y) {
        const size_t at = size_t(y) * pitch;
        if (std::memcmp(frame + at, onScreen + at, pitch) == 0) continue;
        RowBand* last = changed.count ? &changed.bands[size_t(changed.count - 1)] : nullptr;
        if (last && (y - last->bottom < ChangedRows::kJoinGap || changed.count == ChangedRows::kMostBands))
            last->bottom = y + 1;
        else changed.bands[size_t(changed.count++)] = RowBand{y, y + 1};
    }
    return changed;
}
