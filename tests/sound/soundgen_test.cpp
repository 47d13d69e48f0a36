// The generator: the files it makes are the ones committed in res/, byte for byte,
// and rendering twice gives the same bytes.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "tools/soundgen/sound_files.h"

namespace {
std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(f);
    return bytes;
}
}  // namespace

TEST(SoundGenerator, CommittedFilesAreTheGeneratorsOutput) {
    ASSERT_EQ(soundgen::SoundRecipes().size(), 14u);
    for (const auto& recipe : soundgen::SoundRecipes()) {
        auto made = soundgen::SoundFile(recipe);
        auto committed = ReadFile(std::string(GLIMMO_SOURCE_DIR) + "/res/" + recipe.file);
        EXPECT_EQ(made, committed) << recipe.file << " differs: run glimmo-soundgen";
        EXPECT_EQ(made, soundgen::SoundFile(recipe)) << recipe.file << " is not repeatable";
    }
}
