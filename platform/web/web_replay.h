// The replay the page opens, and what the page says of it. The page's address names one
// (?replay=PATH, a file of the same site; ?replay=last or best, the games kept in the
// browser's storage), or the page was loaded again with a file chosen or dropped on it,
// kept in the tab's storage meanwhile (replay.js).
#pragma once
#include <string>

struct PageReplay {
    std::string name;  // what was opened ("" for none): the address's path, or the file's name
    std::string text;  // the file's text
    std::string why;   // why it could not be read, in a line ("" when it was)
};
// Waits (handing the page back to the browser) until the replay asked for has arrived, or
// could not; nothing when none was asked for.
PageReplay OpenPageReplay();
// The watched replay's status ("REPLAY 1:23 OF 5:24, 4X") in the page's hints; "" for none.
void ShowReplayStatus(const std::string& line);
// The replay is over: `line` says why it stopped short or could not be played ("" when it
// played to its end or was stopped). A key or a click then starts the game.
void ShowReplayEnded(const std::string& line);
