// The window's hints layer: the window's own settings (full screen, scale, mute, key
// bindings) read when the window is made and kept when it goes, F1's help card and M's
// mute, and the hints' words laid out over the picture at the window's own pixels.
#include <cstdio>
#include <cstdlib>
#include "platform/frame_scaler.h"
#include "platform/registry_store.h"
#include "platform/sdl/sdl_game_backend.h"
#include "platform/sdl/sdl_waveout.h"
#include "platform/window_scale.h"
#include "platform/window_settings.h"

namespace {
constexpr uint32_t kHintNoteMs = 2000;      // a note, and the mute switched, are spoken of this long
constexpr uint32_t kMutedAtStartMs = 6000;  // a mute kept from the last run, this long

// A path as the player knows it: the home folder as ~.
std::string ShortPath(const std::string& path) {
    const char* home = std::getenv("HOME");
    if (home && *home && path.rfind(home, 0) == 0 && path.size() > std::string(home).size())
        return "~" + path.substr(std::string(home).size());
    return path;
}
}  // namespace

void SdlGameBackend::ReadWindowSettings() {
    const WindowSettings kept = options_.windowSettings ? LoadWindowSettings() : WindowSettings{};
    for (const auto& [control, value] : kept.keys) {
        std::string why;
        if (!bindings_.Bind(control, value, &why))
            std::fprintf(stderr, "glimmo: the key binding %s = \"%s\" is ignored: %s\n", ControlName(control),
                         value.c_str(), why.c_str());
    }
    for (int c = 0; c < kControlCount; ++c) names_.keys[size_t(c)] = bindings_.Names(Control(c));
    if (options_.scale == 0 && kept.scale > 0) options_.scale = kept.scale;
    if (!options_.fullscreen && !options_.windowed) options_.fullscreen = kept.fullScreen;
    muted_ = kept.muted;
    MuteSdlWaveOut(muted_);
    if (muted_) mutedNoteUntil_ = Ticks() + kMutedAtStartMs;
    settingsRead_ = true;
    RewordHints();
}

void SdlGameBackend::KeepWindowSettings() {
    // Nowhere to keep them (a replay, no settings folder): nothing is kept.
    if (!window_ || !settingsRead_ || !options_.windowSettings || RegistryFilePath().empty()) return;
    WindowSettings settings;
    settings.fullScreen = FullScreen();
    settings.scale = settings.fullScreen ? windowedScale_ : ShownScale();
    settings.muted = muted_;
    SaveWindowSettings(settings);
}

void SdlGameBackend::ToggleHelp() {
    if (!card_ && !situation_.helpAllowed) return;  // not during play: it must not cost a life
    card_ = !card_;
    RewordHints();
}

void SdlGameBackend::ToggleMute() {
    muted_ = !muted_;
    MuteSdlWaveOut(muted_);
    mutedNoteUntil_ = Ticks() + kHintNoteMs;
    if (!muted_) NoteInLayer("SOUND ON");
    RewordHints();
}

void SdlGameBackend::NoteInLayer(const std::string& note) {
    layerNote_ = ShortPath(note);
    layerNoteUntil_ = Ticks() + kHintNoteMs;
    RewordHints();
}

void SdlGameBackend::SetHints(const HintSituation& situation) {
    if (situation == situation_ && (!wordsExpireSet_ || int32_t(Ticks() - wordsExpire_) < 0)) return;
    situation_ = situation;
    if (!situation.helpAllowed) card_ = false;
    RewordHints();
}

void SdlGameBackend::RewordHints() {
    const uint32_t now = Ticks();
    WindowNotes notes;
    wordsExpireSet_ = false;
    auto until = [&](uint32_t end) {
        if (int32_t(now - end) >= 0) return false;
        if (!wordsExpireSet_ || int32_t(end - wordsExpire_) < 0) wordsExpire_ = end;
        wordsExpireSet_ = true;
        return true;
    };
    if (!layerNote_.empty() && until(layerNoteUntil_)) notes.note = layerNote_;
    notes.muted = muted_;
    notes.mutedNote = muted_ && until(mutedNoteUntil_);
    notes.card = card_;
    names_.pad = !pads_.empty();
    HintWords words = WordHints(situation_, notes, names_);
    if (words == words_) return;
    words_ = std::move(words);
    hintRectsW_ = hintRectsH_ = -1;  // laid out anew
    bordered_ = nullptr;             // hints may have stood in the borders: they are painted afresh
    Repaint();
}

const std::vector<HintRect>& SdlGameBackend::HintRects(int width, int height) {
    if (width != hintRectsW_ || height != hintRectsH_) {
        hintRects_ = LayOutHints(words_, width, height, PlaceScaled(kPhoneWidth, kPhoneHeight, width, height));
        hintRectsW_ = width;
        hintRectsH_ = height;
    }
    return hintRects_;
}

// Drawn at the renderer's own pixels, not the picture's: crisp at any scale. The layer has
// a handful of colours: one call for each run of rectangles of the same one.
void SdlGameBackend::DrawHintsWithRenderer() {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0) return;
    SDL_RenderSetLogicalSize(renderer_, 0, 0);
    const std::vector<HintRect>& rects = HintRects(w, h);
    std::vector<SDL_Rect> run;
    for (size_t i = 0; i < rects.size(); ++i) {
        run.push_back(SDL_Rect{rects[i].x, rects[i].y, rects[i].w, rects[i].h});
        if (i + 1 < rects.size() && rects[i + 1].rgb == rects[i].rgb) continue;
        const uint32_t rgb = rects[i].rgb;
        SDL_SetRenderDrawColor(renderer_, Uint8(rgb >> 16), Uint8(rgb >> 8), Uint8(rgb), 255);
        SDL_RenderFillRects(renderer_, run.data(), int(run.size()));
        run.clear();
    }
    SDL_RenderSetLogicalSize(renderer_, kPhoneWidth, kPhoneHeight);
    FitRendererToWindow();
}

SDL_Rect SdlGameBackend::DrawHintsOnSurface(SDL_Surface* surface) {
    SDL_Rect covered{0, 0, 0, 0};
    for (const HintRect& r : HintRects(surface->w, surface->h)) {
        const SDL_Rect rect{r.x, r.y, r.w, r.h};
        SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, Uint8(r.rgb >> 16), Uint8(r.rgb >> 8), Uint8(r.rgb)));
        SDL_UnionRect(&covered, &rect, &covered);
    }
    return covered;
}
