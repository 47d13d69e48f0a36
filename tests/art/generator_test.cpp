// The files in res/ are exactly what the generator draws, so res/ never drifts from the
// drawing code, and drawing twice gives the same bytes.
#include <gtest/gtest.h>
#include "tests/art/bmp_reader.h"
#include "tools/artgen/art_set.h"

TEST(ArtGenerator, CommittedFilesAreWhatTheGeneratorDraws) {
    const std::vector<ArtFile> files = DrawArtSet();
    ASSERT_EQ(files.size(), 18u);
    for (const ArtFile& file : files) {
        SCOPED_TRACE(file.name);
        const std::vector<uint8_t> committed = FileBytes(std::string(GLIMMO_SOURCE_DIR) + "/res/" + file.name);
        ASSERT_EQ(committed.size(), file.bytes.size()) << "run glimmo-artgen and commit res/";
        size_t firstDifference = 0;
        while (firstDifference < committed.size() && committed[firstDifference] == file.bytes[firstDifference])
            ++firstDifference;
        EXPECT_EQ(firstDifference, committed.size())
            << "differs from byte " << firstDifference << "; run glimmo-artgen and commit res/";
    }
}

TEST(ArtGenerator, DrawingTwiceGivesTheSameBytes) {
    const std::vector<ArtFile> first = DrawArtSet(), second = DrawArtSet();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i].bytes, second[i].bytes) << first[i].name;
}
