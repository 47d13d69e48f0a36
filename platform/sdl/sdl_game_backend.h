// The SDL backend's class, shared by its source files: the clock and the factory
// (sdl_backend.cpp), the events (sdl_events.cpp), the window and screen (sdl_screen.cpp)
// and the window surface drawn by the game itself (sdl_surface_screen.cpp).
#pragma once
#include <SDL.h>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>
#include "platform/changed_rows.h"
#include "platform/frame_pacer.h"
#include "platform/hints.h"
#include "platform/key_holds.h"
#include "platform/sdl/display_wait.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/single_instance.h"

class SdlGameBackend final : public Backend {
public:
    explicit SdlGameBackend(const SdlOptions& options);
    ~SdlGameBackend() override;

    uint32_t Ticks() override;
    void Sleep(uint32_t ms) override;
    void WaitEvents(uint32_t until) override;
    void PollEvents() override;
    bool CreateGameWindow(const std::string& title) override;
    void ShowGameWindow() override;
    void DestroyGameWindow() override;
    void SetGameWindowTitle(const std::string& title) override;
    void SetHints(const HintSituation& situation) override;
    bool OtherInstanceRunning(const std::string& title) override;
    GXDisplayProperties DisplayProperties() override { return PortraitDisplay; }
    bool OpenDisplay() override;
    void* BeginDraw() override;
    void EndDraw() override;
    void CloseDisplay() override;
    const void* LastFrame() override { return hasFrame_ ? shown_.data() : nullptr; }

private:
    // Events.
    void Translate(const SDL_Event& event);
    void TranslateKey(const SDL_KeyboardEvent& key, bool down);
    void TranslateWindow(const SDL_WindowEvent& window);
    void OpenPad(int deviceIndex);
    void ClosePad(SDL_JoystickID id);
    void MoveStick(SDL_JoystickID id, int axis, int value);
    void ServeRaiseRequests();
    int ForTheMoment(int vk) const;
    void PassOnHangUp();  // a SIGHUP since the last look becomes a quit request
    // Screen.
    void SetIcon();
    void PresentIfDue();
    void Present();
    void Repaint();
    void ToggleFullScreen();
    bool SetFullScreen(bool full);
    void CoverTheScreen(bool cover);
    bool FullScreen() const;
    void FitRendererToWindow();
    void FollowRefreshRate();
    void SaveScreenshot();
    int ShownScale() const;
    void NoteInTitle(const std::string& note);  // shown in the title for a while
    // The hints layer (sdl_hints.cpp): the window's settings read and kept, the help card
    // and the mute toggled, the words laid out and drawn over the presented picture.
    void ReadWindowSettings();
    void KeepWindowSettings();
    void ToggleHelp();
    void ToggleMute();
    void NoteInLayer(const std::string& note);
    void RewordHints();
    // The layer's rectangles for a target of that size, laid out once per words and size.
    const std::vector<HintRect>& HintRects(int width, int height);
    void DrawHintsWithRenderer();
    // Draws the hints on the surface; returns the rectangle they cover (empty: none).
    SDL_Rect DrawHintsOnSurface(SDL_Surface* surface);
    void ShowTitle();
    bool RendererDrawsInSoftware() const;
    bool SurfaceCanShowFrames() const;
    void PresentToSurface(bool withFrame);  // false: the whole surface black
    bool OnGameThread() const { return std::this_thread::get_id() == gameThread_; }
    static uint64_t NowUs();
    // The game's clock (sdl_backend.cpp): the real time at which a tick is due, and the
    // jump forward when the real clock has run too far ahead of the tick, or of the end
    // of a wait stretched to the refresh when that is later.
    uint64_t DueUs(uint32_t tick) const { return tickUs_ + uint64_t(int64_t(int32_t(tick - tick_)) * 1000); }
    void MoveClockTo(uint32_t tick);
    void CatchUp();
    void WaitForRealTime(uint64_t endUs);
    // Waits until the real clock reaches wakeUs (true) or an event brings the game a
    // message (false; *cameUs is when). endUs (at most wakeUs) is when the awaited tick is
    // due: news from the window system after it ends the wait at once, untaken.
    bool WaitForEventsUntil(uint64_t endUs, uint64_t wakeUs, uint64_t* cameUs);
    // The longest sleep that may be put off into the wait for the timer that follows it.
    static constexpr uint32_t kPutOffAtMostMs = 12;

    SdlOptions options_;
    std::thread::id gameThread_;
    // The tick count moves only when the game sleeps or waits, as on the virtual clock:
    // every reading within a frame is the same, so a recorded game replays exactly.
    uint32_t tick_ = 0;
    uint64_t tickUs_ = 0;  // the real microsecond at which tick_ began
    // Until when a wait was stretched to the display's refresh on purpose: passes due
    // before then that run only now are not late, and lateness counts from it.
    uint64_t stretchedToUs_ = 0;
    // Passes that came due during a wait stretched to the refresh are being run: no
    // picture is shown and no event taken until they have.
    bool catchingUp_ = false;
    SDL_Window* window_ = nullptr;
    // Full screen made by the game itself, where no window manager would make it: the
    // window moved and sized to cover the display, and where it was before.
    bool coversTheScreen_ = false;
    SDL_Rect windowedPlace_{};
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    // Without a renderer the frame is drawn into the window's surface (sdl_surface_screen.cpp).
    bool useSurface_ = false;
    bool displayOpen_ = false;
    std::vector<uint32_t> colours_;  // 5-6-5 value to the surface's pixel
    uint32_t coloursFormat_ = 0;
    SDL_Surface* bordered_ = nullptr;  // the surface whose borders are painted
    int borderedWidth_ = 0;
    int borderedHeight_ = 0;
    std::vector<uint8_t> frame_;  // what BeginDraw hands out
    std::vector<uint8_t> shown_;  // the last frame ended with EndDraw
    bool hasFrame_ = false;
    std::vector<uint8_t> onScreen_;  // the frame the window shows
    bool onScreenKnown_ = false;
    // Rows of the picture that differ from what the window shows, and whether the whole
    // window must be drawn again (new, exposed, resized).
    ChangedRows changed_;
    bool wholeWindow_ = true;
    FramePacer pacer_;
    KeyHolds holds_;
    SingleInstance instance_;
    struct Pad {
        SDL_GameController* controller;
        int stick[2];  // direction of the left stick's x and y axes
    };
    std::map<SDL_JoystickID, Pad> pads_;
    // The window system is asked for news at most this often (a key waits at most this
    // long in its queue), unless a wait for events asked it anyway. Where the game waits on
    // the X connection itself, SDL pumps only when the connection has news, and otherwise
    // once in a while for what it watches on its own (gamepads coming, focus it holds back).
    static constexpr uint64_t kPumpEveryUs = 4000;
    static constexpr uint64_t kQuietPumpEveryUs = 50000;
    bool TimeToPump(uint64_t nowUs);
    void TakeQueuedEvents();
    DisplayWait displayWait_;
    uint64_t lastPumpUs_ = 0;
    uint64_t lastNewsLookUs_ = 0;
    bool justWaited_ = false;       // a wait asked the window system for events just now
    uint64_t lastRaiseLookUs_ = 0;  // when a raise request was last looked for
    bool windowSeen_ = false;       // shown at least once: hiding it from then on is leaving it
    std::string baseTitle_;         // the window's name, as created
    std::string gameTitle_;         // what the game last asked the title to say
    std::string note_;              // the backend's own note, until noteUntil_ (Ticks)
    uint32_t noteUntil_ = 0;
    std::string shownTitle_;  // what the title bar says now
    // The hints layer.
    KeyBindings bindings_;
    bool settingsRead_ = false;
    int windowedScale_ = 0;            // the scale of the window when last not in full screen
    HintSituation situation_;          // as the program last told it
    HintWords words_;                  // what the layer shows now
    ControlNames names_;               // the keys' names, as bound
    std::vector<HintRect> hintRects_;  // words_ laid out for a target of hintRectsW_ x hintRectsH_
    int hintRectsW_ = -1, hintRectsH_ = -1;
    uint32_t wordsExpire_ = 0;  // a note ends then (Ticks): the words change
    bool wordsExpireSet_ = false;
    bool card_ = false;  // the help card is open
    bool muted_ = false;
    uint32_t mutedNoteUntil_ = 0;  // the mute is spoken of until then (Ticks)
    std::string layerNote_;
    uint32_t layerNoteUntil_ = 0;
};

// Numbers that name each control for KeyHolds.
constexpr uint64_t kCloseButtonControl = 0xFFFF0000u;
inline uint64_t PadControl(SDL_JoystickID id, uint32_t part) { return (uint64_t(uint32_t(id)) + 1) << 32 | part; }
constexpr int kStickPart = 0x100;  // + 0 for the x axis, + 1 for the y axis
