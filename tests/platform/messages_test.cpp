// The message queue and its 2 ms timer on the virtual clock, keys, and window dispatch.
#include "platform/messages.h"
#include <gtest/gtest.h>
#include <vector>
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "platform/window.h"

namespace {
std::vector<UINT> seen;
LRESULT Proc(HWND, UINT message, WPARAM, LPARAM) {
    seen.push_back(message);
    return 0;
}

struct MessagesTest : ::testing::Test {
    HeadlessBackend* backend = nullptr;
    HWND window = nullptr;
    void SetUp() override {
        backend = &UseHeadlessBackend(1000);
        ResetMessageQueue();
        ResetKeyStates();
        ResetWindowState();
        seen.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = L"test";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, L"test", L"t", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        ResetWindowState();
        ResetMessageQueue();
        SetBackend(nullptr);
    }
};
}  // namespace

TEST_F(MessagesTest, CreationSendsCreateAndDispatchReachesTheProcedure) {
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], WM_CREATE);
    EXPECT_EQ(CreateWindowExW(0, L"test", L"t", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr), nullptr)
        << "there is one game window";
    PostMessageW(window, WM_USER, 1, 2);
    MSG m{};
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    DispatchMessageW(&m);
    EXPECT_EQ(seen.back(), WM_USER);
}

TEST_F(MessagesTest, TimerFiresOnItsGridOnlyWhenNothingElseWaits) {
    SetTimer(window, 100, 2, nullptr);  // grid: 1002, 1004, ...
    MSG m{};
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 100u);
    EXPECT_EQ(backend->Ticks(), 1002u) << "virtual time jumps to the next grid point";
    // A frame that takes 7 ms: one timer message waits, not three.
    backend->Advance(7);
    PostMessageW(window, WM_USER, 0, 0);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER) << "other messages come first";
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(backend->Ticks(), 1009u) << "a timer that is due is handed out without waiting";
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(backend->Ticks(), 1010u) << "the grid stays where it was set";
}

TEST_F(MessagesTest, QuitComesWhenTheQueueIsEmpty) {
    PostMessageW(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG m{};
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(MessagesTest, KeysSendOneDownPerPressAndKeepTheirState) {
    KeyEvent(VK_F10, true);
    KeyEvent(VK_F10, true);  // the desktop's auto-repeat
    KeyEvent(VK_F10, false);
    MSG m{};
    std::vector<UINT> got;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) got.push_back(m.message);
    EXPECT_EQ(got, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
    EXPECT_EQ(GetAsyncKeyState(VK_F10), 1) << "pressed since the last query, no longer down";
    EXPECT_EQ(GetAsyncKeyState(VK_F10), 0);
    KeyEvent(VK_LEFT, true);
    EXPECT_EQ(uint16_t(GetAsyncKeyState(VK_LEFT)), 0x8001);
    EXPECT_EQ(uint16_t(GetAsyncKeyState(VK_LEFT)), 0x8000) << "held: the high bit stays";
    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(300), 0);
}

TEST_F(MessagesTest, TimedEventsTakeEffectAtTheirTicksEvenInsideASleep) {
    std::vector<TimedEvent> events;
    events.push_back(TimedEvent{1005, TimedEvent::KeyDown, VK_UP});
    events.push_back(TimedEvent{1007, TimedEvent::KeyUp, VK_UP});
    backend->AddEvents(events);
    backend->Sleep(6);
    EXPECT_EQ(backend->Ticks(), 1006u);
    EXPECT_EQ(uint16_t(GetAsyncKeyState(VK_UP)), 0x8001);
    backend->Sleep(1);
    EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
    // With nothing else to do, a wait stops at the next event.
    events = {TimedEvent{1500, TimedEvent::Deactivate}};
    backend->AddEvents(events);
    MSG m{};
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_KEYUP);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(m.wParam), WA_INACTIVE);
    EXPECT_EQ(backend->Ticks(), 1500u);
}

TEST_F(MessagesTest, ClockWrapsAroundLikeThePhone) {
    backend->SetTick(0xFFFFFFFEu);
    SetTimer(window, 100, 2, nullptr);
    MSG m{};
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(backend->Ticks(), 0u);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(backend->Ticks(), 2u);
}
