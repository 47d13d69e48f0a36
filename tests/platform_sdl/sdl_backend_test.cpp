// The SDL backend on SDL's dummy video driver (a window nowhere, and no GL library to
// load): a missing display is reported, the frame memory reaches LastFrame, and keyboard,
// window and gamepad events become the phone's messages.
#include "platform/sdl/sdl_backend.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/registry_store.h"
#include "platform/sdl/display_check.h"
#include "platform/window.h"
#include "tests/support/sdl/sdl_event_injection.h"

namespace {
class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The dummy window never has the focus, and SDL keeps gamepads from windows without it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        std::string error;
        backend = MakeSdlBackend(SdlOptions{2, false}, &error);
        ASSERT_TRUE(backend) << error;
        SetBackend(backend.get());
        ResetMessageQueue();
        ResetKeyStates();
        ASSERT_TRUE(backend->CreateGameWindow("glimmo test"));
        backend->ShowGameWindow();
        Messages();  // the window's own events of showing itself
    }
    void TearDown() override {
        backend.reset();
        SetBackend(nullptr);
        ResetMessageQueue();
        ResetKeyStates();
    }

    // Every message the backend's events posted, as "message:wParam" words. The window
    // system is asked for news at most every 4 ms: the wait lets the next poll ask it.
    std::string Messages() {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        backend->PollEvents();
        std::string log;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_TIMER)
            log += std::to_string(msg.message) + ":" + std::to_string(msg.wParam) + " ";
        return log;
    }

    std::unique_ptr<Backend> backend;
};

std::string Msg(UINT message, WPARAM w) { return std::to_string(message) + ":" + std::to_string(w) + " "; }
bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
}  // namespace

TEST(SdlBackendStart, UnusableVideoDriverIsReportedInOneLine) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    std::string error;
    auto backend = MakeSdlBackend(SdlOptions{}, &error);
    EXPECT_FALSE(backend);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

TEST_F(SdlBackendTest, FrameMemoryReachesTheLastFrame) {
    GXDisplayProperties props = backend->DisplayProperties();
    EXPECT_EQ(props.cxWidth, 176u);
    EXPECT_EQ(props.cyHeight, 220u);
    EXPECT_EQ(props.cbyPitch, 352);
    EXPECT_EQ(props.ffFormat, kfDirect565);
    EXPECT_EQ(backend->BeginDraw(), nullptr);  // not before the display is open
    EXPECT_EQ(backend->LastFrame(), nullptr);
    ASSERT_TRUE(backend->OpenDisplay());
    for (uint16_t colour : {uint16_t(0xF800), uint16_t(0x07E0), uint16_t(0x001F)}) {
        auto* frame = static_cast<uint16_t*>(backend->BeginDraw());
        ASSERT_NE(frame, nullptr);
        for (int i = 0; i < 176 * 220; ++i) frame[i] = colour;
        frame[176 * 220 - 1] = 0x1234;
        backend->EndDraw();  // the second and third come too soon for the display
        const auto* shown = static_cast<const uint16_t*>(backend->LastFrame());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown[0], colour);
        EXPECT_EQ(shown[176 * 220 - 1], 0x1234);
    }
    backend->Sleep(20);  // the held frame is shown meanwhile
    backend->CloseDisplay();
    EXPECT_EQ(backend->BeginDraw(), nullptr);
    EXPECT_NE(backend->LastFrame(), nullptr);
}

// Without a graphics driver the frame is drawn into the window's own surface, scaled.
TEST_F(SdlBackendTest, TheWindowShowsTheFrameAtItsScale) {
    ASSERT_TRUE(backend->OpenDisplay());
    auto* frame = static_cast<uint16_t*>(backend->BeginDraw());
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 176 * 220; ++i) frame[i] = 0x07E0;  // green
    frame[0] = 0xF800;                                      // red top-left
    frame[176 * 220 - 1] = 0x001F;                          // blue bottom-right
    backend->EndDraw();
    backend->Sleep(20);

    WindowPixels shown;
    ASSERT_TRUE(ReadWindowSurface(&shown));
    ASSERT_EQ(shown.width, 352);  // scale 2
    ASSERT_EQ(shown.height, 440);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{1, 1}}) EXPECT_EQ(shown.At(x, y), 0xFF0000u) << x << "," << y;
    for (auto [x, y] : {std::pair{2, 0}, std::pair{0, 2}, std::pair{200, 300}, std::pair{349, 439}})
        EXPECT_EQ(shown.At(x, y), 0x00FF00u) << x << "," << y;
    for (auto [x, y] : {std::pair{350, 438}, std::pair{351, 439}})
        EXPECT_EQ(shown.At(x, y), 0x0000FFu) << x << "," << y;
}

// Of a frame that differs from the last in a few rows, only those rows are drawn again:
// the rest of the window keeps the picture it had, the changed rows show the new one.
TEST_F(SdlBackendTest, OnlyTheChangedRowsAreDrawnAgain) {
    ASSERT_TRUE(backend->OpenDisplay());
    auto draw = [&](uint16_t colour, int firstRow, int rows) {
        auto* frame = static_cast<uint16_t*>(backend->BeginDraw());
        ASSERT_NE(frame, nullptr);
        for (int i = 0; i < 176 * 220; ++i) frame[i] = 0x07E0;  // green
        for (int y = firstRow; y < firstRow + rows; ++y)
            for (int x = 0; x < 176; ++x) frame[y * 176 + x] = colour;
        backend->EndDraw();
        backend->Sleep(20);
    };
    draw(0x07E0, 0, 0);
    draw(0xF800, 100, 3);  // red rows 100 to 102
    WindowPixels shown;
    ASSERT_TRUE(ReadWindowSurface(&shown));
    for (int y : {200, 203, 205}) EXPECT_EQ(shown.At(10, y), 0xFF0000u) << "row " << y;
    for (int y : {0, 199, 206, 439}) EXPECT_EQ(shown.At(10, y), 0x00FF00u) << "row " << y;
    draw(0x001F, 10, 1);  // blue row 10; rows 100 to 102 green again
    ASSERT_TRUE(ReadWindowSurface(&shown));
    EXPECT_EQ(shown.At(300, 21), 0x0000FFu);
    for (int y : {19, 22, 200, 205}) EXPECT_EQ(shown.At(300, y), 0x00FF00u) << "row " << y;
}

// A key pressed during the title's 1 ms sleep before the next timer message comes first,
// and the sleep is never cut short.
TEST_F(SdlBackendTest, SleepBeforeTheTimerStillTakesKeysInOrder) {
    SetTimer(GameWindow(), 1, 2, nullptr);
    InjectKey("Up", true);
    const uint32_t before = backend->Ticks();
    backend->Sleep(1);
    EXPECT_GE(backend->Ticks() - before, 1u);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_KEYDOWN));
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    KillTimer(GameWindow(), 1);
}

TEST_F(SdlBackendTest, HeldKeySendsOneKeyDown) {
    InjectKey("Up", true);
    InjectKey("Up", true, true);
    InjectKey("Up", true, true);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_UP));
    EXPECT_TRUE(Down(VK_UP));
    InjectKey("Up", false);
    EXPECT_EQ(Messages(), Msg(WM_KEYUP, VK_UP));
    EXPECT_FALSE(Down(VK_UP));
}

TEST_F(SdlBackendTest, TwoKeysForOneVirtualKey) {
    InjectKey("8", true);
    InjectKey("Keypad 8", true);
    InjectKey("8", false);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, '8'));
    EXPECT_TRUE(Down('8'));
    InjectKey("Keypad 8", false);
    EXPECT_EQ(Messages(), Msg(WM_KEYUP, '8'));
}

TEST_F(SdlBackendTest, AltEnterIsNotTheActionKey) {
    InjectKey("Return", true, false, true);
    InjectKey("Return", false);
    EXPECT_EQ(Messages(), "");
    InjectKey("Return", true);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_RETURN));
}

TEST_F(SdlBackendTest, CloseButtonIsTheBackKey) {
    InjectQuit();
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_ESCAPE) + Msg(WM_KEYUP, VK_ESCAPE));
}

// Minimised, hidden (another workspace) or the keyboard gone elsewhere: the window has
// lost the player, which the game hears as lost focus; the phone's deactivation, which
// quits, is never sent.
TEST_F(SdlBackendTest, LeavingTheWindowIsLosingTheFocus) {
    ASSERT_TRUE(InjectWindowEvent(InjectedWindowEvent::FocusLost));
    EXPECT_EQ(Messages(), Msg(WM_KILLFOCUS, 0));
    InjectWindowEvent(InjectedWindowEvent::Minimised);
    InjectWindowEvent(InjectedWindowEvent::Hidden);
    EXPECT_EQ(Messages(), Msg(WM_KILLFOCUS, 0) + Msg(WM_KILLFOCUS, 0));
    InjectWindowEvent(InjectedWindowEvent::Restored);
    InjectWindowEvent(InjectedWindowEvent::Exposed);
    EXPECT_EQ(Messages(), "");
    InjectWindowEvent(InjectedWindowEvent::FocusGained);
    EXPECT_EQ(Messages(), Msg(WM_SETFOCUS, 0));
}

// The picture as the window shows it (whole-number scale 2 here), in the pictures folder
// made if missing; where it went goes to stderr and, for two seconds, the title.
TEST_F(SdlBackendTest, F12SavesTheWindowsPictureInThePicturesFolder) {
    char home[] = "/tmp/glimmo-f12-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    const std::string saved = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home, 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_PICTURES_DIR");
    ASSERT_TRUE(backend->OpenDisplay());
    auto* frame = static_cast<uint16_t*>(backend->BeginDraw());
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 176 * 220; ++i) frame[i] = 0x07E0;
    backend->EndDraw();
    ::testing::internal::CaptureStderr();
    InjectKey("F12", true);
    InjectKey("F12", false);
    EXPECT_EQ(Messages(), "");
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string path = std::string(home) + "/Pictures/glimmo-01.png";
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_NE(ReadWindowTitle().find(path), std::string::npos) << ReadWindowTitle();
    // The PNG header: the IHDR chunk's width and height, big-endian.
    std::ifstream png(path, std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ(header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19], 352);
    EXPECT_EQ(header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23], 440);
    // The window says it over the bottom of the picture; the game's picture stays the game's.
    // (The first sleep lets the game's clock catch up with the time the PNG took.)
    backend->SetHints(HintSituation{});
    backend->Sleep(30);
    backend->Sleep(30);
    WindowPixels shown;
    ASSERT_TRUE(ReadWindowSurface(&shown));
    EXPECT_NE(shown.At(2, 437), 0x00FF00u);
    const auto* last = static_cast<const uint16_t*>(backend->LastFrame());
    EXPECT_EQ(std::count(last, last + 176 * 220, uint16_t(0x07E0)), 176 * 220);
    backend->Sleep(2100);
    backend->SetHints(HintSituation{});
    backend->Sleep(30);
    Messages();
    EXPECT_EQ(ReadWindowTitle(), "glimmo test");
    ASSERT_TRUE(ReadWindowSurface(&shown));
    EXPECT_EQ(shown.At(2, 437), 0x00FF00u);
    setenv("HOME", saved.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

// Full screen, the scale and the mute are kept when the window goes and used at the next
// start; the player's keys are read from the same file, and a binding that names no key
// is ignored with one line.
TEST(SdlBackendStart, TheWindowRemembersItselfAndThePlayersKeys) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    char folder[] = "/tmp/glimmo-window-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::ofstream(SettingsFileIn(folder)) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo\\Keys]\n"
                                             "\"Up\"=\"I\"\n\"Down\"=\"Nope\"\n";
    SetRegistryFolder(folder, false);
    std::string error;
    auto first = MakeSdlBackend(SdlOptions{2, false, false, true}, &error);
    ASSERT_TRUE(first) << error;
    SetBackend(first.get());
    ResetMessageQueue();
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(first->CreateGameWindow("glimmo test"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "glimmo: the key binding Down = \"Nope\" is ignored: \"Nope\" is not a key\n");
    first->ShowGameWindow();
    for (const char* key : {"I", "Up", "F11", "M"}) InjectKey(key, true), InjectKey(key, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    first->PollEvents();
    MSG msg;
    std::string got;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_KEYDOWN) got += std::to_string(msg.wParam) + " ";
    EXPECT_EQ(got, std::to_string(VK_UP) + " ");  // I steers up; the arrow no longer does
    first->DestroyGameWindow();
    first.reset();
    ReloadRegistry();
    std::ifstream in(SettingsFileIn(folder));
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* line : {"\"FullScreen\"=dword:00000001", "\"Scale\"=dword:00000002", "\"Muted\"=dword:00000001"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
    auto second = MakeSdlBackend(SdlOptions{0, false, false, true}, &error);
    SetBackend(second.get());
    ASSERT_TRUE(second->CreateGameWindow("glimmo test"));
    second->ShowGameWindow();
    WindowPixels shown;
    ASSERT_TRUE(ReadWindowSurface(&shown));
    EXPECT_EQ(shown.width, 1024);  // SDL's dummy display, covered
    second.reset();
    SetBackend(nullptr);
    ResetMessageQueue();
    ResetKeyStates();
    SetRegistryFolder("");
    std::filesystem::remove_all(folder);
}

TEST_F(SdlBackendTest, WaitEndsAtTheDeadlineOrOnAnEvent) {
    uint32_t start = backend->Ticks();
    backend->WaitEvents(start + 30);
    EXPECT_GE(backend->Ticks() - start, 30u);
    InjectKey("Escape", true);
    backend->WaitEvents(backend->Ticks() + 100000);
    EXPECT_TRUE(Down(VK_ESCAPE));
}

TEST_F(SdlBackendTest, GamepadPluggedInPlayedAndPulledOut) {
    int pad = PlugVirtualPad();
    if (pad < 0) GTEST_SKIP() << "this SDL has no virtual gamepads";
    Messages();  // the pad arrives
    ASSERT_TRUE(SetVirtualPadButton(pad, "a", true));
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_RETURN));
    SetVirtualPadButton(pad, "a", false);
    SetVirtualPadButton(pad, "start", true);
    EXPECT_EQ(Messages(), Msg(WM_KEYUP, VK_RETURN) + Msg(WM_KEYDOWN, VK_F10));
    SetVirtualPadButton(pad, "start", false);
    Messages();
    // Back does what Escape does: the pause key in a game that is not paused, else the back key.
    SetPlayStateSource([] { return PlayState{true, false}; });
    SetVirtualPadButton(pad, "back", true);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_F10));
    SetVirtualPadButton(pad, "back", false);
    Messages();
    SetPlayStateSource([] { return PlayState{true, true}; });
    SetVirtualPadButton(pad, "back", true);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_ESCAPE));
    SetVirtualPadButton(pad, "back", false);
    Messages();
    SetPlayStateSource(nullptr);
    // The stick: a firm push, a drift back within the hysteresis, then a release.
    SetVirtualPadAxis(pad, "leftx", 20000);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_RIGHT));
    SetVirtualPadAxis(pad, "leftx", 12000);
    EXPECT_EQ(Messages(), "");
    SetVirtualPadAxis(pad, "leftx", 2000);
    EXPECT_EQ(Messages(), Msg(WM_KEYUP, VK_RIGHT));
    SetVirtualPadAxis(pad, "lefty", -30000);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_UP));
    // The d-pad and the stick both hold Up; pulling the pad out lets go of everything.
    SetVirtualPadButton(pad, "dpup", true);
    SetVirtualPadButton(pad, "leftshoulder", true);
    EXPECT_EQ(Messages(), Msg(WM_KEYDOWN, VK_F7));
    UnplugVirtualPad(pad);
    std::string after = Messages();
    EXPECT_NE(after.find(Msg(WM_KEYUP, VK_UP)), std::string::npos) << after;
    EXPECT_NE(after.find(Msg(WM_KEYUP, VK_F7)), std::string::npos) << after;
    EXPECT_FALSE(Down(VK_UP));
    EXPECT_FALSE(Down(VK_F7));
}

// SDL's dummy display is 1024 x 768: a scale of 3 is the largest that fits it.
TEST(SdlBackendStart, AScaleTooLargeForTheScreenIsLoweredWithOneLine) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    auto backend = MakeSdlBackend(SdlOptions{9, false}, &error);
    ASSERT_TRUE(backend) << error;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(backend->CreateGameWindow("glimmo test"));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "glimmo: --scale 9 does not fit the screen; using 3, the largest that fits\n");
    backend->ShowGameWindow();
    WindowPixels shown;
    ASSERT_TRUE(ReadWindowSurface(&shown));
    EXPECT_EQ(shown.width, 176 * 3);
    EXPECT_EQ(shown.height, 220 * 3);
}

TEST(SdlBackendStart, WindowlessFallbacksCountAsNoDisplay) {
    EXPECT_TRUE(DriverShowsAWindow("x11", ""));
    EXPECT_TRUE(DriverShowsAWindow("wayland", "x11"));
    EXPECT_TRUE(DriverShowsAWindow("KMSDRM", ""));
    EXPECT_FALSE(DriverShowsAWindow("offscreen", ""));
    EXPECT_FALSE(DriverShowsAWindow("dummy", "x11,wayland"));
    EXPECT_FALSE(DriverShowsAWindow("offscreen", "offscreenish"));
    EXPECT_TRUE(DriverShowsAWindow("offscreen", "offscreen"));
    EXPECT_TRUE(DriverShowsAWindow("dummy", "x11,dummy"));
}
