// The window's hints: in a window of any scale and in full screen, what the window adds
// stays on the window and off the maze (in the border, or over the strip of lives and
// fruit), and the help card fits whole.
#include "platform/hints.h"
#include <gtest/gtest.h>

TEST(Hints, StayOnTheWindowAndOffTheMaze) {
    ControlNames names;
    for (int c = 0; c < kControlCount; ++c) names.keys[size_t(c)] = ControlName(Control(c));
    names.keys[size_t(Control::Louder)] = "F6, +";
    HintSituation paused, over, loud, replay;
    paused.paused = paused.helpAllowed = true;
    over.gameOver = true;
    loud.volume = 64;
    replay.replay = "REPLAY";
    WindowNotes note;
    note.note = "PICTURE SAVED TO ~/PICTURES/A-FOLDER-WITH-A-RATHER-LONG-NAME/GLIMMO-01.PNG";
    struct Target {
        int width, height;
    } targets[] = {{176, 220}, {352, 440}, {704, 880}, {400, 300}, {1280, 1024}, {1920, 1080}, {100, 120}};
    for (const Target& t : targets) {
        const ScaledPlace place = PlaceScaled(176, 220, t.width, t.height);
        const int strip = place.y + place.height - kBottomStripRows * std::max(place.scale, 1);
        // What stays (the pause, GAME OVER, a replay) keeps off the maze; a passing note may
        // reach into it for its two seconds.
        struct Case {
            HintSituation situation;
            WindowNotes notes;
            bool lasting;
        };
        for (const auto& [situation, notes, lasting] :
             {Case{paused, {}, true}, Case{over, {}, true}, Case{replay, {}, true}, Case{loud, note, false}}) {
            const std::vector<HintRect> rects =
                LayOutHints(WordHints(situation, notes, names), t.width, t.height, place);
            ASSERT_FALSE(rects.empty());
            for (const HintRect& r : rects) {
                EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= t.width && r.y + r.h <= t.height)
                    << t.width << "x" << t.height << ": " << r.x << "," << r.y << " " << r.w << "x" << r.h;
                if (lasting && place.scale >= 1) {
                    EXPECT_GE(r.y, strip) << t.width << "x" << t.height;
                }
            }
        }
        // The card's frame, drawn first, fits whole wherever the picture is shown whole: the
        // game's card and a replay's.
        WindowNotes card;
        card.card = true;
        names.pad = true;
        for (const HintSituation& situation : {paused, replay}) {
            const std::vector<HintRect> rects =
                LayOutHints(WordHints(situation, card, names), t.width, t.height, place);
            ASSERT_FALSE(rects.empty());
            if (place.scale >= 1) {
                EXPECT_TRUE(rects[0].x >= 0 && rects[0].y >= 0 && rects[0].x + rects[0].w <= t.width &&
                            rects[0].y + rects[0].h <= t.height)
                    << "card " << t.width << "x" << t.height;
            }
        }
        names.pad = false;
    }
}
