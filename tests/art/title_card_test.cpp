// The title card leaves room for what the title screen draws over it (the best score
// at the top right, the four ghosts at x 18), and puts each ghost's name and nickname
// in its colour beside it.
#include <gtest/gtest.h>
#include "tests/art/art_expectations.h"

namespace {

class TitleCard : public ::testing::Test {
protected:
    Bmp4 card = LoadResBmp("title_card.bmp");
};

TEST_F(TitleCard, LeavesTheScoreCornerAndTheGhostPlacesBlack) {
    ASSERT_TRUE(card.ok);
    EXPECT_EQ(CountNotInk(card, 90, 3, 67, 15, IxBlack), 0);
    for (int y : {45, 67, 89, 112}) EXPECT_EQ(CountNotInk(card, 16, y - 2, 16, 16, IxBlack), 0) << y;
}

TEST_F(TitleCard, NamesEachGhostInItsColourBesideIt) {
    const struct {
        int y;
        uint8_t ink;
    } rows[4] = {{45, IxRed}, {67, IxPink}, {89, IxCyan}, {112, IxOrange}};
    for (auto row : rows) {
        SCOPED_TRACE(row.y);
        // A name and a nickname: two words, well apart, level with the ghost.
        EXPECT_GT(CountInk(card, 31, row.y, 60, 12, row.ink), 25);
        EXPECT_GT(CountInk(card, 100, row.y, 76, 12, row.ink), 25);
        EXPECT_EQ(CountInk(card, 0, row.y, 31, 12, row.ink), 0) << "text must start right of x 30";
        // Nothing else in that colour anywhere else in the table.
        EXPECT_EQ(CountInk(card, 0, 40, 176, 86, row.ink), CountInk(card, 31, row.y, 145, 12, row.ink));
    }
}

TEST_F(TitleCard, HasAHeadingTheScoringAndThePrompts) {
    EXPECT_GT(CountInk(card, 0, 18, 176, 14, IxYellow), 150) << "large heading";
    EXPECT_EQ(CountInk(card, 0, 125, 176, 30, IxPink), 4 + 32) << "a dot and an energiser";
    EXPECT_GT(CountInk(card, 0, 125, 176, 30, IxWhite), 60) << "their points";
    EXPECT_GT(CountNotInk(card, 0, 160, 176, 25, IxBlack), 150) << "the prompts";
    EXPECT_GT(CountNotInk(card, 0, 205, 176, 15, IxBlack), 40) << "name and version";
}

}  // namespace
