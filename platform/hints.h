// What the window tells the player beside the game's picture, never in it: the program
// reports the situation (paused, GAME OVER, the volume, ...), the window words it with its
// own keys' names, and the words are laid out in the game's pixel font, crisp at the
// window's scale, in the letterbox or over the picture's bottom strip (lives and fruit),
// the help card over the middle.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "platform/frame_scaler.h"

// What the player can do with a key: the phone's keys and the window's own.
enum class Control { Up, Down, Left, Right, Action, Pause, Back, Louder, Quieter, Mute, Help, FullScreen, Screenshot };
constexpr int kControlCount = int(Control::Screenshot) + 1;
// The control's name in the settings file ("Up", "FullScreen"); Control from such a name.
const char* ControlName(Control control);
bool ControlByName(const std::string& name, Control* control);

// What the program says is going on; the window chooses the words.
struct HintSituation {
    bool paused = false;       // the pause screen: how to resume and how to quit
    bool gameOver = false;     // GAME OVER has stood a moment: how to start again and quit
    bool helpAllowed = false;  // the title or the pause screen: the help card may open
    int volume = -1;           // 0..64 while a volume key acts and a while after; -1: not shown
    bool soundOff = false;     // the game started with its volume at 0: how to bring it back
    std::string replay;        // a watched replay's status ("" for none)
    bool operator==(const HintSituation&) const = default;
};

// What the window adds of its own.
struct WindowNotes {
    std::string note;        // a passing note (where a screenshot went), "" for none
    bool muted = false;      // the window's mute is on
    bool mutedNote = false;  // ... and has just been switched, or was on at the start: say so
    bool card = false;       // the help card is open
};

// The names of the keys of each control ("UP, W"), and the gamepad's when one is there.
struct ControlNames {
    std::array<std::string, kControlCount> keys;
    bool pad = false;
    const std::string& operator[](Control c) const { return keys[size_t(c)]; }
};

// The words: the band's lines (a volume bar stands in the line "\x01"), and the card's
// rows (a row is "NAME\tWHAT"; a row without a tab is a heading).
struct HintWords {
    std::vector<std::string> band;
    int volume = -1;
    bool muted = false;
    std::vector<std::string> card;
    bool Empty() const { return band.empty() && card.empty(); }
    bool operator==(const HintWords&) const = default;
};
HintWords WordHints(const HintSituation& situation, const WindowNotes& notes, const ControlNames& names);

// One filled rectangle of the layer, in the target's pixels.
struct HintRect {
    int x, y, w, h;
    uint32_t rgb;  // 0xRRGGBB
};

// The layer for a target of width x height on which the picture stands at `place`.
std::vector<HintRect> LayOutHints(const HintWords& words, int width, int height, const ScaledPlace& place);
// The picture's rows that are the lives and fruit strip at the bottom: the maze ends above.
constexpr int kBottomStripRows = 15;
