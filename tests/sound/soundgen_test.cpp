// The generator: the files it makes are the ones committed in res/, byte for byte,
// and rendering twice gives the same bytes.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "tests/support/file_bytes.h"
#include "tools/soundgen/sound_files.h"

TEST(SoundGenerator, CommittedFilesAreTheGeneratorsOutput) {
    ASSERT_EQ(soundgen::SoundRecipes().size(), 14u);
    for (const auto& recipe : soundgen::SoundRecipes()) {
        auto made = soundgen::SoundFile(recipe);
        auto committed = FileBytes(std::string(GLIMMO_SOURCE_DIR) + "/res/" + recipe.file);
        EXPECT_EQ(made, committed) << recipe.file << " differs: run glimmo-soundgen";
        EXPECT_EQ(made, soundgen::SoundFile(recipe)) << recipe.file << " is not repeatable";
    }
}
