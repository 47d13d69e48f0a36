// The browser backend. Keys and page events arrive through the browser's callbacks
// while the loop waits; the loop's waits sleep in short slices (ASYNCIFY), and each
// slice gives the mixing thread its turn and the audio device its blocks.
#include "platform/web/web_backend.h"
#include <emscripten.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>
#include "platform/changed_rows.h"
#include "platform/messages.h"
#include "platform/registry_store.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_replay.h"
#include "platform/web/web_waveout.h"
#include "platform/window.h"

namespace {
// The longest single sleep, so that sound blocks are handed over in time.
constexpr uint32_t LongestSliceMs = 4;
// Ticks start well away from 0, which the loop reads as "no frame yet".
constexpr double TickOrigin = 1000000.0;

// clang-format off
EM_JS(void, web_show_rows, (const uint8_t* rgba, int width, int height, int top, int bottom), {
    const canvas = document.getElementById('glimmo');
    if (!canvas) return;
    if (!Module.glimmoFrame || canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        Module.glimmoContext = canvas.getContext('2d');
        Module.glimmoFrame = Module.glimmoContext.createImageData(width, height);
        top = 0;
        bottom = height;
    }
    // Only the changed rows are put: the browser then redraws only their part of the page.
    Module.glimmoFrame.data.set(HEAPU8.subarray(rgba + top * width * 4, rgba + bottom * width * 4), top * width * 4);
    Module.glimmoContext.putImageData(Module.glimmoFrame, 0, 0, 0, top, width, bottom - top);
    if (!Module.glimmoFirstFrame) {
        Module.glimmoFirstFrame = performance.now();
        if (Module.onFirstFrame) Module.onFirstFrame(Module.glimmoFirstFrame);
    }
});

// The title says what the picture cannot (paused, the volume): the page's hints follow it.
EM_JS(void, web_set_title, (const char* title), {
    document.title = UTF8ToString(title);
    if (Module.onTitle) Module.onTitle(document.title);
});

EM_JS(void, web_offer_state, (), {
    window.glimmoState = () => UTF8ToString(_glimmo_state_line()).trim();
});

EM_JS(void, web_show_ended, (), { if (Module.onGameEnded) Module.onGameEnded(); });

EM_JS(void, web_reload, (), { location.reload(); });

// A seed as the command line takes it (a decimal number below 2^32), else -1.
EM_JS(double, web_autopilot_seed, (), {
    const value = new URLSearchParams(location.search).get('autopilot');
    if (value === null || !/^[0-9]{1,10}$/.test(value) || Number(value) > 4294967295) return -1;
    return Number(value);
});

// A file's text, kept in localStorage under a name of its own ("glimmo.reg" for the settings).
EM_JS(char*, web_stored_file, (const char* key), {
    let text = null;
    try { text = localStorage.getItem(UTF8ToString(key)); } catch (e) {}
    if (text === null) return 0;
    const size = lengthBytesUTF8(text) + 1;
    const memory = _malloc(size);
    stringToUTF8(text, memory, size);
    return memory;
});

// A storage that will not take it (full, or closed to the page) is the page's to tell; a
// changed file is told to the page's parts with a glimmo-kept event (detail: its key).
EM_JS(void, web_store_file, (const char* key, const char* text), {
    const name = UTF8ToString(key), value = UTF8ToString(text);
    try {
        if (localStorage.getItem(name) === value) return;
        localStorage.setItem(name, value);
        dispatchEvent(new CustomEvent('glimmo-kept', {detail: name}));
    } catch (e) {
        if (Module.onSettingsNotKept) Module.onSettingsNotKept(e);
    }
});

// A page's test that has set window.glimmoPassLog to an array gets every pass's state line.
EM_JS(void, web_log_state, (), {
    if (Array.isArray(window.glimmoPassLog)) window.glimmoPassLog.push(UTF8ToString(_glimmo_state_line()).trim());
});

// Page events the game hears: the tab hidden or shown, the page left, another tab's save.
EM_JS(void, web_listen_to_page, (), {
    document.addEventListener('visibilitychange', () => _glimmo_page_visible(document.hidden ? 0 : 1));
    window.addEventListener('blur', () => _glimmo_page_visible(0));
    window.addEventListener('focus', () => _glimmo_page_visible(1));
    window.addEventListener('pagehide', () => _glimmo_page_left());
    // Back from the browser's page cache, the saved game would play on unsaved: start afresh.
    window.addEventListener('pageshow', (event) => { if (event.persisted) location.reload(); });
    window.addEventListener('storage', (event) => { if (event.key === 'glimmo.reg') _glimmo_settings_changed(); });
});
// clang-format on

std::string settingsFile;
// The other files of the settings folder kept in the browser's storage, by name.
std::vector<std::string> keptToo;
bool eventArrived = false;
std::function<std::string()> stateLine;

// Each kept file with the key localStorage holds it under.
std::vector<std::pair<std::string, std::string>> FilesKept() {
    std::vector<std::pair<std::string, std::string>> files;
    if (settingsFile.empty()) return files;
    files.emplace_back(settingsFile, "glimmo.reg");
    const std::string folder = settingsFile.substr(0, settingsFile.rfind('/') + 1);
    for (const std::string& name : keptToo) files.emplace_back(folder + name, "glimmo." + name);
    return files;
}

// The settings file as localStorage holds it, written into the registry's folder.
void BringSettingsFromBrowser() {
    for (const auto& [path, key] : FilesKept()) {
        char* text = web_stored_file(key.c_str());
        if (!text) continue;
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fputs(text, file);
            std::fclose(file);
        }
        std::free(text);
    }
}

class WebBackend : public Backend {
public:
    uint32_t Ticks() override { return uint32_t(uint64_t(emscripten_get_now() + TickOrigin)); }

    void Sleep(uint32_t ms) override {
        uint32_t until = Ticks() + ms;
        for (;;) {
            PumpWebAudio();
            int32_t left = int32_t(until - Ticks());
            if (left <= 0) return;
            emscripten_sleep(std::min<uint32_t>(uint32_t(left), LongestSliceMs));
        }
    }

    void WaitEvents(uint32_t until) override {
        for (;;) {
            PumpWebAudio();
            if (eventArrived) {
                eventArrived = false;
                return;
            }
            int32_t left = int32_t(until - Ticks());
            if (left <= 0) return;
            emscripten_sleep(std::min<uint32_t>(uint32_t(left), LongestSliceMs));
        }
    }

    void PollEvents() override {
        eventArrived = false;
        PumpWebAudio();
    }

    bool CreateGameWindow(const std::string& title) override {
        web_set_title(title.c_str());
        return true;
    }
    void ShowGameWindow() override {}
    void DestroyGameWindow() override {}
    void SetGameWindowTitle(const std::string& title) override { web_set_title(title.c_str()); }
    // Of the hints, the page words its own; a watched replay's status is the program's.
    void SetHints(const HintSituation& situation) override {
        if (situation.replay == replayStatus_) return;
        replayStatus_ = situation.replay;
        ShowReplayStatus(replayStatus_);
    }
    // Every tab plays a game of its own; they share the settings as two desktop copies do.
    bool OtherInstanceRunning(const std::string&) override { return false; }

    GXDisplayProperties DisplayProperties() override { return PortraitDisplay; }
    bool OpenDisplay() override {
        frame_.assign(size_t(PortraitDisplay.cyHeight) * size_t(PortraitDisplay.cbyPitch), 0);
        rgba_.assign(size_t(PortraitDisplay.cxWidth) * PortraitDisplay.cyHeight * 4, 0);
        open_ = true;
        return true;
    }
    void* BeginDraw() override { return open_ ? frame_.data() : nullptr; }
    void EndDraw() override {
        if (!open_) return;
        // The title and the pause end a frame every pass, many a display refresh, and most
        // are the picture the canvas shows already; of the others, only the bands of rows
        // that changed are widened and put.
        const int width = int(PortraitDisplay.cxWidth), height = int(PortraitDisplay.cyHeight);
        const size_t pitch = size_t(PortraitDisplay.cbyPitch);
        ChangedRows changed;
        if (shown_.size() == frame_.size()) {
            changed = FindChangedRows(frame_.data(), shown_.data(), pitch, height);
            if (changed.count == 0) return;
        } else {
            changed.count = 1;
            changed.bands[0] = RowBand{0, height};
        }
        // Every frame writes the whole frame memory, so the two buffers trade places.
        shown_.resize(frame_.size());
        frame_.swap(shown_);
        for (int i = 0; i < changed.count; ++i) {
            const RowBand& band = changed.bands[size_t(i)];
            uint8_t* out = rgba_.data() + size_t(band.top) * size_t(width) * 4;
            for (int y = band.top; y < band.bottom; ++y) {
                const uint8_t* row = shown_.data() + size_t(y) * pitch;
                for (int x = 0; x < width; ++x, out += 4) {
                    const uint16_t p = uint16_t(row[2 * x] | (row[2 * x + 1] << 8));
                    const uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                    out[0] = uint8_t((r << 3) | (r >> 2));
                    out[1] = uint8_t((g << 2) | (g >> 4));
                    out[2] = uint8_t((b << 3) | (b >> 2));
                    out[3] = 255;
                }
            }
            web_show_rows(rgba_.data(), width, height, band.top, band.bottom);
        }
    }
    void CloseDisplay() override { open_ = false; }
    const void* LastFrame() override { return shown_.empty() ? nullptr : shown_.data(); }

private:
    std::vector<uint8_t> frame_, shown_, rgba_;
    bool open_ = false;
    std::string replayStatus_;
};

std::unique_ptr<WebBackend> instance;
}  // namespace

// Called by the page's listeners, between two slices of a wait.
extern "C" {
EMSCRIPTEN_KEEPALIVE void glimmo_page_visible(int visible) {
    if (!HasBackend()) return;
    if (!visible) ReleaseWebKeys();
    // Leaving the page pauses a game in play, as leaving the window does on the desktop.
    PostMessageW(GameWindow(), visible ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
    eventArrived = true;
}

// The page is going away (closed, reloaded, another address): keep what a quit keeps.
EMSCRIPTEN_KEEPALIVE void glimmo_page_left() {
    BringSettingsFromBrowser();
    if (!RunDisplayLostHandler().empty()) KeepSettingsInBrowser();
}

EMSCRIPTEN_KEEPALIVE void glimmo_settings_changed() { BringSettingsFromBrowser(); }

// The line lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* glimmo_state_line() {
    static std::string line;
    line = stateLine ? stateLine() : std::string();
    return line.c_str();
}
}

WebPageOptions ReadWebPageOptions() {
    WebPageOptions options;
    double seed = web_autopilot_seed();
    if (seed >= 0) options.autopilotSeed = uint32_t(seed);
    return options;
}

Backend& UseWebBackend(const std::string& settingsFolder) {
    instance = std::make_unique<WebBackend>();
    SetBackend(instance.get());
    mkdir(settingsFolder.c_str(), 0700);
    SetRegistryFolder(settingsFolder);
    settingsFile = RegistryFilePath();
    BringSettingsFromBrowser();
    web_listen_to_page();
    ListenToWebKeys([] { eventArrived = true; });
    UseWebWaveOut();
    return *instance;
}

void KeepSettingsInBrowser() {
    for (const auto& [path, key] : FilesKept()) {
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        std::string text;
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
        std::fclose(file);
        web_store_file(key.c_str(), text.c_str());
    }
}

void KeepInBrowserToo(std::vector<std::string> names) {
    keptToo = std::move(names);
    BringSettingsFromBrowser();
}

void LogStateOnPage() { web_log_state(); }

void ShowGameEnded() { web_show_ended(); }

void StartPageAfresh() { web_reload(); }

void OfferStateToPage(std::function<std::string()> line) {
    stateLine = std::move(line);
    web_offer_state();
}
