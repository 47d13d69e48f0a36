// The fourteen WAVE resources of the game: their formats, exact data sizes and chunk
// layouts, levels well inside the 8-bit range, and loops that join without a click.
#include <algorithm>
#include <cstring>
#include "platform/byte_order.h"
#include "platform/resources.h"
#include "tests/sound/sound_fixture.h"

namespace {
struct GameSound {
    uint16_t id;
    uint32_t length;
    bool loop;
};
const GameSound Sounds[] = {
    {119, 16832, false}, {120, 3318, true}, {121, 6426, false}, {122, 17666, false}, {123, 4321, false},
    {124, 46720, false}, {125, 7368, true}, {126, 8736, true},  {128, 57377, false}, {133, 4284, true},
    {134, 3920, true},   {135, 7038, true}, {136, 9753, true},  {137, 2842, true},
};
}  // namespace

TEST(GameSounds, FormatsAndExactSizes) {
    for (const GameSound& sound : Sounds) {
        Sample sample;
        ASSERT_TRUE(sample.LoadFromResource(ProgramInstance(), sound.id)) << sound.id;
        EXPECT_EQ(sample.length, sound.length) << sound.id;
        EXPECT_EQ(sample.rate, 11025u) << sound.id;
        EXPECT_FALSE(sample.ownsData);
        // Peaks stay well inside the range: never clipped, never near it.
        auto [lo, hi] = std::minmax_element(sample.data, sample.data + sample.length);
        EXPECT_GE(*lo, 24) << sound.id;
        EXPECT_LE(*hi, 232) << sound.id;
        EXPECT_GT(*hi - *lo, 40) << sound.id << " is not silent";
    }
}

TEST(GameSounds, ChompCarriesALongFormatAndAChunkBeforeItsData) {
    HRSRC resource = FindResourceW(ProgramInstance(), MAKEINTRESOURCEW(120), L"WAVE");
    ASSERT_NE(resource, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(ProgramInstance(), resource)));
    ASSERT_EQ(std::memcmp(bytes + 12, "fmt ", 4), 0);
    EXPECT_EQ(ReadU32LE(bytes + 16), 40u);
    const uint8_t* next = bytes + 12 + 8 + 40;
    EXPECT_NE(std::memcmp(next, "data", 4), 0);
    EXPECT_EQ(ReadU32LE(next + 4), 436u);
    const uint8_t* data = next + 8 + 436;
    EXPECT_EQ(std::memcmp(data, "data", 4), 0);
    EXPECT_EQ(ReadU32LE(data + 4), 3318u);
    Sample sample;
    ASSERT_TRUE(sample.LoadFromResource(ProgramInstance(), 120));
    EXPECT_EQ(sample.data, data + 8);
}

TEST(GameSounds, LoopsJoinWithoutAClick) {
    for (const GameSound& sound : Sounds) {
        if (!sound.loop) continue;
        Sample sample;
        ASSERT_TRUE(sample.LoadFromResource(ProgramInstance(), sound.id));
        const uint8_t* d = sample.data;
        std::vector<int> steps;
        for (uint32_t i = 0; i + 1 < sample.length; ++i) steps.push_back(std::abs(d[i + 1] - d[i]));
        std::sort(steps.begin(), steps.end());
        int usual = std::max(2, steps[steps.size() * 99 / 100]);
        int seam = std::abs(int(d[0]) - int(d[sample.length - 1]));
        EXPECT_LE(seam, usual) << sound.id << ": the step from the last sample to the first is a click";
    }
}

TEST(GameSounds, OneShotsStartAndEndInSilence) {
    for (const GameSound& sound : Sounds) {
        if (sound.loop) continue;
        Sample sample;
        ASSERT_TRUE(sample.LoadFromResource(ProgramInstance(), sound.id));
        EXPECT_NEAR(sample.data[0], 128, 2) << sound.id;
        EXPECT_NEAR(sample.data[sample.length - 1], 128, 2) << sound.id;
    }
}
