// The screen drawn straight into the window's own surface. SDL's renderer is the usual
// way, but where it draws in software (its own software renderer, or OpenGL on a software
// rasteriser: a machine without a graphics driver, a virtual X server) it spends a tenth
// of a core or more on one scaled picture sixty times a second; widening the frame's rows
// ourselves and handing the surface to the window system costs a fraction of that.
#include <array>
#include <cstring>
#include "platform/frame_scaler.h"
#include "platform/sdl/sdl_game_backend.h"
#include "platform/window_scale.h"

namespace {
constexpr unsigned kGlRendererName = 0x1F01;  // GL_RENDERER

bool NamesSoftwareRasteriser(const char* name) {
    for (const char* word : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, word)) return true;
    return false;
}
}  // namespace

bool SdlGameBackend::RendererDrawsInSoftware() const {
    SDL_RendererInfo info;
    if (!renderer_ || SDL_GetRendererInfo(renderer_, &info) != 0) return false;
    // SDL's own software renderer widens 5-6-5 pixels one by one through its slowest blit.
    if ((info.flags & SDL_RENDERER_SOFTWARE) || std::strcmp(info.name, "software") == 0) return true;
    if (!std::strstr(info.name, "opengl")) return false;
    // The renderer's context is the current one right after the renderer is made.
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRendererName) : nullptr;
    return name && NamesSoftwareRasteriser(reinterpret_cast<const char*>(name));
}

bool SdlGameBackend::SurfaceCanShowFrames() const {
    return window_ && SDL_BYTESPERPIXEL(SDL_GetWindowPixelFormat(window_)) == 4;
}

void SdlGameBackend::PresentToSurface(bool withFrame) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || surface->format->BytesPerPixel != 4) return;
    if (surface->format->format != coloursFormat_) {
        const SDL_PixelFormat* format = surface->format;
        colours_ = MakeColourTable([format](uint8_t r, uint8_t g, uint8_t b) { return SDL_MapRGB(format, r, g, b); });
        coloursFormat_ = format->format;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    uint8_t* pixels = static_cast<uint8_t*>(surface->pixels);
    const ScaledPlace place = PlaceScaled(kPhoneWidth, kPhoneHeight, surface->w, surface->h);
    // A new or resized surface has its borders painted once; the picture covers the rest.
    bool whole = wholeWindow_ || !withFrame;
    if (surface != bordered_ || surface->w != borderedWidth_ || surface->h != borderedHeight_ || !withFrame) {
        FillBorders(withFrame ? place : ScaledPlace{}, SDL_MapRGB(surface->format, 0, 0, 0), pixels, surface->pitch,
                    surface->w, surface->h);
        bordered_ = withFrame ? surface : nullptr;
        borderedWidth_ = surface->w;
        borderedHeight_ = surface->h;
        whole = true;
    }
    // Otherwise the surface still holds the last picture: only the bands of changed rows
    // are widened and handed to the window system.
    if (whole || place.scale < 1) {
        if (withFrame)
            DrawScaled(shown_.data(), PortraitDisplay.cbyPitch, kPhoneWidth, kPhoneHeight, colours_.data(), place,
                       pixels, surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        if (withFrame && !words_.Empty()) DrawHintsOnSurface(surface);
        SDL_UpdateWindowSurface(window_);
        return;
    }
    // The hints go over the bands again, and are handed over with them.
    std::array<SDL_Rect, ChangedRows::kMostBands + 1> rects;
    for (int i = 0; i < changed_.count; ++i) {
        const RowBand& band = changed_.bands[size_t(i)];
        DrawScaled(shown_.data(), PortraitDisplay.cbyPitch, kPhoneWidth, kPhoneHeight, colours_.data(), place, pixels,
                   surface->pitch, band.top, band.bottom);
        rects[size_t(i)] = SDL_Rect{place.x, place.y + band.top * place.scale, kPhoneWidth * place.scale,
                                    (band.bottom - band.top) * place.scale};
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    int count = changed_.count;
    if (!words_.Empty() && count > 0) {
        const SDL_Rect hints = DrawHintsOnSurface(surface);
        if (!SDL_RectEmpty(&hints)) rects[size_t(count++)] = hints;
    }
    if (count > 0) SDL_UpdateWindowSurfaceRects(window_, rects.data(), count);
}
