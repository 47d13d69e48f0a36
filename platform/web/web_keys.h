// The page's keyboard: the desktop's key map for the browser's key events, a held key
// sending one press (no auto-repeat), and Escape meaning what the moment calls for.
#pragma once
#include <string>

// The game key for a browser key event: `code` names where the key sits ("KeyW",
// "Digit8", "Numpad8", "ArrowUp"), `key` what it types ("p", "+"). 0 when none.
int WebGameKey(const std::string& code, const std::string& key);

// Starts listening to the page's keys; `arrived` is called after each key change.
void ListenToWebKeys(void (*arrived)());
// Lets go of every key held (the page has lost the keyboard).
void ReleaseWebKeys();
