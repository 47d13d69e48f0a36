// The bands of changed rows: none for the same picture, one per change far from the
// others, nearby changes sharing one, and never more bands than the most.
#include "platform/changed_rows.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr size_t kPitch = 352;
constexpr int kRows = 220;

std::vector<std::pair<int, int>> Bands(const std::vector<int>& changedRows) {
    std::vector<uint8_t> shown(kPitch * kRows, 0x11), frame = shown;
    for (int y : changedRows) frame[size_t(y) * kPitch + kPitch - 1] ^= 0xFF;  // the row's last byte
    ChangedRows changed = FindChangedRows(frame.data(), shown.data(), kPitch, kRows);
    std::vector<std::pair<int, int>> bands;
    for (int i = 0; i < changed.count; ++i)
        bands.emplace_back(changed.bands[size_t(i)].top, changed.bands[size_t(i)].bottom);
    return bands;
}
}  // namespace

TEST(ChangedRows, BandsCoverEveryChangeAndNoMore) {
    EXPECT_TRUE(Bands({}).empty());
    // The title's ripple: two rows in every ghost, the ghosts 23 rows apart.
    using B = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Bands({55, 56, 78, 79, 101, 102, 122, 123}), (B{{55, 57}, {78, 80}, {101, 103}, {122, 124}}));
    // Three unchanged rows between two changes are drawn again; four are not.
    EXPECT_EQ(Bands({10, 14, 30, 35}), (B{{10, 15}, {30, 31}, {35, 36}}));
    EXPECT_EQ(Bands({0, 219}), (B{{0, 1}, {219, 220}}));
    // Every tenth row: eight bands, the last reaching the last change.
    std::vector<int> many;
    for (int y = 0; y < kRows; y += 10) many.push_back(y);
    B bands = Bands(many);
    ASSERT_EQ(bands.size(), size_t(ChangedRows::kMostBands));
    EXPECT_EQ(bands[6], std::make_pair(60, 61));
    EXPECT_EQ(bands[7], std::make_pair(70, 211));
}
