// The game window and its screen: sized at a whole-number scale with black borders,
// full screen on F11 or Alt+Enter (the window made to cover the display where no window
// manager would), the frame memory shown through a streaming 5-6-5 texture (or the
// window's surface) at most once per display refresh, the title, and F12 screenshots at
// the window's scale.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "platform/frame_scaler.h"
#include "platform/png_writer.h"
#include "platform/sdl/screenshot_names.h"
#include "platform/sdl/sdl_game_backend.h"
#include "platform/sdl/window_icon.h"
#include "platform/sdl/window_manager.h"
#include "platform/window_scale.h"

namespace {
constexpr unsigned kIconResource = 101;
constexpr uint32_t kNoteMs = 2000;  // how long a note of the backend's own stays in the title

// The scale asked for (0: the largest that fits); said on the command line or kept from
// the last run, which need not fit this screen and then goes quietly.
int ScaleFor(int asked, bool said) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return ChooseWindowScale(0, 0, asked);
        usable.w = mode.w;
        usable.h = mode.h;
    }
    int scale = ChooseWindowScale(usable.w, usable.h, asked);
    if (said && asked > 0 && scale < std::min(asked, kLargestScale))
        std::fprintf(stderr, "glimmo: --scale %d does not fit the screen; using %d, the largest that fits\n", asked,
                     scale);
    return scale;
}
}  // namespace

bool SdlGameBackend::CreateGameWindow(const std::string& title) {
    if (window_) return true;
    const bool scaleSaid = options_.scale > 0;
    if (!settingsRead_) ReadWindowSettings();
    int scale = ScaleFor(options_.scale, scaleSaid);
    windowedScale_ = scale;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (options_.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPhoneWidth * scale,
                               kPhoneHeight * scale, flags);
    if (!window_) {
        std::fprintf(stderr, "glimmo: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    baseTitle_ = gameTitle_ = shownTitle_ = title;
    note_.clear();
    // The renderer, unless the player named one: where it would rasterise in software,
    // or none can be made, the window's own surface is drawn instead (much cheaper).
    const bool driverChosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!driverChosen && (!renderer_ || RendererDrawsInSoftware()) && SurfaceCanShowFrames()) {
        if (renderer_) SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        useSurface_ = true;
        // The window system's own buffer, not another (software) renderer behind the surface.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    if (!renderer_ && !useSurface_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_ && !useSurface_) {
        std::fprintf(stderr, "glimmo: cannot draw in the window: %s\n", SDL_GetError());
    } else if (renderer_) {
        SDL_RenderSetLogicalSize(renderer_, kPhoneWidth, kPhoneHeight);
        FitRendererToWindow();
    }
    // Only now: making an OpenGL renderer makes the window anew, without the hints of the
    // old one, and the window manager would let the window shrink below the picture.
    SDL_SetWindowMinimumSize(window_, kPhoneWidth, kPhoneHeight);
    if (options_.fullscreen && !WindowManagerRuns(window_)) {
        SDL_SetWindowFullscreen(window_, 0);
        CoverTheScreen(true);
    }
    if (options_.fullscreen) SDL_ShowCursor(SDL_DISABLE);
    SetIcon();
    FollowRefreshRate();
    displayWait_.Attach(window_);
    return true;
}

void SdlGameBackend::SetIcon() {
    IconPicture picture;
    if (!LoadIconPicture(kIconResource, &picture)) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(picture.argb.data(), picture.width, picture.height, 32,
                                                           picture.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlGameBackend::ShowGameWindow() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    if (renderer_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    } else if (useSurface_) {
        PresentToSurface(false);
    }
}

void SdlGameBackend::DestroyGameWindow() {
    KeepWindowSettings();
    CloseDisplay();
    displayWait_.Detach();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
    coversTheScreen_ = false;
    useSurface_ = false;
    bordered_ = nullptr;
    shownTitle_.clear();
    // What the old window still had to say (hidden, closed) is not about any window now.
    SDL_FlushEvent(SDL_WINDOWEVENT);
}

bool SdlGameBackend::OpenDisplay() {
    if (displayOpen_) return true;
    wholeWindow_ = true;  // a new texture, or a surface not drawn for a while
    if (useSurface_) return displayOpen_ = true;
    if (!renderer_) return false;
    texture_ =
        SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kPhoneWidth, kPhoneHeight);
    if (!texture_) std::fprintf(stderr, "glimmo: cannot make the screen texture: %s\n", SDL_GetError());
    return displayOpen_ = texture_ != nullptr;
}

void* SdlGameBackend::BeginDraw() { return displayOpen_ ? frame_.data() : nullptr; }

void SdlGameBackend::EndDraw() {
    if (!displayOpen_) return;
    // Every present writes the whole frame memory, so the two buffers trade places
    // instead of the frame being copied. Whether it differs from what the window shows
    // is asked only when its turn to be shown comes, not at every pass.
    frame_.swap(shown_);
    hasFrame_ = true;
    pacer_.Submit();
    PresentIfDue();
}

void SdlGameBackend::CloseDisplay() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    displayOpen_ = false;
}

void SdlGameBackend::Repaint() {
    wholeWindow_ = true;
    if (hasFrame_) pacer_.Submit();
}

void SdlGameBackend::PresentIfDue() {
    if (!catchingUp_ && pacer_.Due(NowUs())) Present();
}

void SdlGameBackend::Present() {
    // The refresh interval counts from when the present began: drawing takes time too.
    uint64_t began = NowUs();
    // A frame the same as the one the window shows needs no present. Of one that differs,
    // only the bands of changed rows are drawn.
    const size_t pitch = size_t(PortraitDisplay.cbyPitch);
    if (onScreenKnown_ && !wholeWindow_ && hasFrame_) {
        changed_ = FindChangedRows(shown_.data(), onScreen_.data(), pitch, int(kPhoneHeight));
        if (changed_.count == 0) {
            pacer_.Unchanged();
            return;
        }
    } else {
        changed_.count = 1;
        changed_.bands[0] = RowBand{0, int(kPhoneHeight)};
    }
    if (renderer_ && texture_) {
        // The texture keeps what it had: only the changed rows go to it.
        for (int i = 0; i < changed_.count; ++i) {
            const RowBand& band = changed_.bands[size_t(i)];
            const SDL_Rect rows{0, band.top, int(kPhoneWidth), band.bottom - band.top};
            SDL_UpdateTexture(texture_, &rows, shown_.data() + size_t(band.top) * pitch, int(pitch));
        }
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        if (!words_.Empty()) DrawHintsWithRenderer();
        SDL_RenderPresent(renderer_);
    } else if (useSurface_ && displayOpen_ && hasFrame_) {
        PresentToSurface(true);
    }
    if (hasFrame_) {
        for (int i = 0; i < changed_.count; ++i) {
            const RowBand& band = changed_.bands[size_t(i)];
            std::memcpy(onScreen_.data() + size_t(band.top) * pitch, shown_.data() + size_t(band.top) * pitch,
                        size_t(band.bottom - band.top) * pitch);
        }
        onScreenKnown_ = true;
    }
    wholeWindow_ = false;
    pacer_.Presented(began);
}

// The renderer draws at a whole-number scale; in a window that a window manager forced
// smaller than the picture, it shrinks the picture to fit (its shape kept) instead of
// cutting it.
void SdlGameBackend::FitRendererToWindow() {
    if (!renderer_) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    SDL_RenderSetIntegerScale(renderer_, w >= kPhoneWidth && h >= kPhoneHeight ? SDL_TRUE : SDL_FALSE);
}

void SdlGameBackend::FollowRefreshRate() {
    SDL_DisplayMode mode;
    int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    pacer_.SetRefreshRate(display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0);
}

bool SdlGameBackend::FullScreen() const {
    return coversTheScreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

// Full screen is the window manager's to give; with none to ask, the game covers the
// display with the window itself.
bool SdlGameBackend::SetFullScreen(bool full) {
    if (coversTheScreen_ || (full && !WindowManagerRuns(window_))) {
        CoverTheScreen(full);
        return true;
    }
    if (SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) return true;
    std::fprintf(stderr, "glimmo: cannot switch full screen: %s\n", SDL_GetError());
    return false;
}

// The window moved and sized to the whole display, or back where it was.
void SdlGameBackend::CoverTheScreen(bool cover) {
    if (cover) {
        SDL_Rect screen;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &screen) != 0) return;
        SDL_GetWindowPosition(window_, &windowedPlace_.x, &windowedPlace_.y);
        SDL_GetWindowSize(window_, &windowedPlace_.w, &windowedPlace_.h);
        SDL_SetWindowPosition(window_, screen.x, screen.y);
        SDL_SetWindowSize(window_, screen.w, screen.h);
        SDL_RaiseWindow(window_);
    } else {
        SDL_SetWindowSize(window_, windowedPlace_.w, windowedPlace_.h);
        SDL_SetWindowPosition(window_, windowedPlace_.x, windowedPlace_.y);
    }
    coversTheScreen_ = cover;
}

void SdlGameBackend::ToggleFullScreen() {
    if (!window_) return;
    const bool full = FullScreen();
    if (!full) windowedScale_ = ShownScale();  // the scale to come back to, next run too
    if (!SetFullScreen(!full)) return;
    // Hints are not kept through full screen: the least size is told again.
    if (full) SDL_SetWindowMinimumSize(window_, kPhoneWidth, kPhoneHeight);
    SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
    Repaint();
}

void SdlGameBackend::SetGameWindowTitle(const std::string& title) {
    gameTitle_ = title;
    ShowTitle();
}

void SdlGameBackend::NoteInTitle(const std::string& note) {
    note_ = note;
    noteUntil_ = Ticks() + kNoteMs;
    ShowTitle();
}

// The game's title, or for a while the backend's own note after the window's name.
void SdlGameBackend::ShowTitle() {
    if (!window_) return;
    if (!note_.empty() && int32_t(Ticks() - noteUntil_) >= 0) note_.clear();
    std::string title = note_.empty() ? gameTitle_ : baseTitle_ + " \u00B7 " + note_;
    if (title == shownTitle_) return;
    SDL_SetWindowTitle(window_, title.c_str());
    shownTitle_ = title;
}

// The whole-number scale the frame is shown at now (full screen included).
int SdlGameBackend::ShownScale() const {
    int w = 0, h = 0;
    if (renderer_) SDL_GetRendererOutputSize(renderer_, &w, &h);
    else if (window_) SDL_GetWindowSizeInPixels(window_, &w, &h);
    return std::max(1, PlaceScaled(kPhoneWidth, kPhoneHeight, w, h).scale);
}

void SdlGameBackend::SaveScreenshot() {
    const void* frame = LastFrame();
    if (!frame) {
        std::fprintf(stderr, "glimmo: no picture on the screen yet to save\n");
        return;
    }
    std::string problem;
    std::string path = NextScreenshotPath(&problem);
    if (path.empty()) {
        std::fprintf(stderr, "glimmo: screenshot not saved: %s\n", problem.c_str());
        NoteInTitle("screenshot not saved");
        NoteInLayer("PICTURE NOT SAVED: " + problem);
        return;
    }
    if (WriteFramePng(path, frame, PortraitDisplay, ShownScale())) {
        std::fprintf(stderr, "glimmo: screenshot saved to %s\n", path.c_str());
        NoteInTitle("screenshot saved to " + path);
        NoteInLayer("PICTURE SAVED TO " + path);
    } else {
        std::fprintf(stderr, "glimmo: could not write the screenshot %s\n", path.c_str());
        NoteInTitle("screenshot not saved");
        NoteInLayer("PICTURE NOT SAVED");
    }
}
