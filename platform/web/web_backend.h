// The browser backend: the frame on the page's <canvas>, the keyboard, the clock from
// performance.now(), WebAudio, and the settings file kept in the browser's storage.
// The loop's waits and sleeps hand the page back to the browser (ASYNCIFY).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include "platform/backend.h"

// What the page's address asks for: ?autopilot=SEED plays a demo.
struct WebPageOptions {
    std::optional<uint32_t> autopilotSeed;
};
WebPageOptions ReadWebPageOptions();

// Makes the browser backend, puts it and its audio device in force, and brings the
// settings file back from the browser's storage into the folder the registry uses.
Backend& UseWebBackend(const std::string& settingsFolder);
// Puts the settings file into the browser's storage (after a save); a storage that will
// not take it (full, or closed to the page) is said in a line of the page's text.
void KeepSettingsInBrowser();
// Loads the page again: the program starts afresh, at the title.
void StartPageAfresh();
// The program has ended other than by the back key: the page says so, and a key or a
// click starts the game again.
void ShowGameEnded();
// The page's window.glimmoState(): the game's state line of the moment, as `line` gives
// it (the desktop's --state-log line, without its newline), for tools and the page's tests.
void OfferStateToPage(std::function<std::string()> line);
