// What each backend (the SDL window or the headless harness) must supply.
// The common services in this folder (messages, keys, timer, registry, resources)
// sit on top of these few calls; the game never sees this interface.
#pragma once
#include <cstdint>
#include <string>
#include "platform/display.h"
#include "platform/hints.h"

class Backend {
public:
    virtual ~Backend() = default;

    // Clock: milliseconds, 32-bit, wrapping like the phone's tick count.
    virtual uint32_t Ticks() = 0;
    virtual void Sleep(uint32_t ms) = 0;

    // Waits for outside events (keys, window changes) until the tick `until` at the
    // latest and hands them to the layer (KeyEvent, PostMessageW). Returns early when
    // something arrived.
    virtual void WaitEvents(uint32_t until) = 0;
    // Takes whatever outside events are already waiting, without waiting.
    virtual void PollEvents() = 0;

    // Window: made once; the layer has already sent WM_CREATE through the procedure.
    virtual bool CreateGameWindow(const std::string& title) = 0;
    virtual void ShowGameWindow() = 0;
    virtual void DestroyGameWindow() = 0;
    // The window's title, UTF-8 (a backend without a title bar has nothing to show it on).
    virtual void SetGameWindowTitle(const std::string& title) { (void)title; }
    // What the window tells the player beside the picture (hints.h), once per pass; a
    // backend without a window has nowhere to show it.
    virtual void SetHints(const HintSituation& situation) { (void)situation; }
    // Single instance: true when another copy runs (and has been asked to come forward).
    virtual bool OtherInstanceRunning(const std::string& title) = 0;

    // Display (frame memory).
    virtual GXDisplayProperties DisplayProperties() = 0;
    virtual bool OpenDisplay() = 0;
    virtual void* BeginDraw() = 0;
    virtual void EndDraw() = 0;
    virtual void CloseDisplay() = 0;
    // The frame memory as last shown, for screenshots (null before the first frame).
    virtual const void* LastFrame() = 0;
};

// The backend in force; set once by the program's start before anything else runs.
void SetBackend(Backend* backend);
Backend& CurrentBackend();
bool HasBackend();

// The program's last words when its display is gone for good (the X server killed, the
// session ended): the backend calls them, says so in one line and ends the program, as
// nothing more can be shown. They keep what a quit would keep, and say what they kept
// ("the best score and volume are saved"), or "" for nothing.
using LastWords = std::string (*)();
void SetDisplayLostHandler(LastWords handler);
std::string RunDisplayLostHandler();  // "" when none is set
