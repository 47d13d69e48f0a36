// The window procedure: settings and the frame timer at creation, the action, pause
// and back keys, deactivation, the player leaving the window; the pause that stops the
// game's clock.
#include "app/window_proc.h"
#include "app/settings.h"
#include "app/volume_keys.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "sound/sound_system.h"

uint8_t Paused = 0;
uint32_t PauseStartTick = 0;
uint8_t PauseWhenPlayable = 0;

namespace {

// Back key: keep the settings, then silence and close the sound before quitting.
void Quit() {
    SaveSettings();
    if (Paused == 1) Mixer.ResumeOutput();
    Mixer.StopAllSamples();
    Mixer.Close();
    SoundClosed = 1;
    PostQuitMessage(0);
}

// Another application took the screen: quit at once, without saving.
void Deactivate() {
    Mixer.Close();
    SoundClosed = 1;
    RestoreKeyClicks();
    PostQuitMessage(0);
}

// The player has left the window (minimised, hidden, another workspace, the keyboard
// elsewhere): a game in play pauses as the pause key pauses it. Where that key cannot act
// yet (READY!, a ghost being eaten, the level flashing, a scene between levels) the pause
// waits for play, unless the player comes back first.
void PlayerLeft() {
    PauseWhenPlayable = 0;
    if (!GameInPlay() || Paused == 1) return;
    if (GamePhase == PhasePlaying) TogglePause();
    else PauseWhenPlayable = 1;
}

void KeyCommand(WPARAM key) {
    if (key == WPARAM(VK_ESCAPE)) {
        Quit();
    } else if (key == WPARAM(VK_RETURN)) {
        if (GamePhase == PhaseTitle) StartNewGame();
        else if (GamePhase == PhaseGameOver) GamePhase = PhaseTitle;
    } else if (key == WPARAM(VK_F10)) {
        if (GamePhase == PhasePlaying) TogglePause();
    }
}

}  // namespace

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SoundClosed = 0;
            LoadSettings();
            VolumeCounter = Sound * 5;
            SetTimer(window, FrameTimerId, FrameTimerPeriod, nullptr);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) Deactivate();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            RECT rect{};
            BeginPaint(window, &paint);
            GetClientRect(window, &rect);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KILLFOCUS: PlayerLeft(); return 0;
        case WM_SETFOCUS: PauseWhenPlayable = 0; return 0;
        case WM_KEYDOWN: KeyCommand(wParam); return 0;
        case WM_TIMER:
            // The timer's messages come every pass: a pause that waits for play is looked at.
            if (PauseWhenPlayable == 1) PlayerLeft();
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void TogglePause() {
    if (Paused == 0) {
        Paused = 1;
        Mixer.PauseOutput();
        PauseStartTick = GetTickCount();
        return;
    }
    Paused = 0;
    MoveDeadlines(GetTickCount() - PauseStartTick);
    Mixer.ResumeOutput();
}

bool GameInPlay() { return GamePhase != PhaseTitle && GamePhase != PhaseGameOver; }

PlayState GamePlayState() { return PlayState{GameInPlay(), Paused == 1, GamePhase == PhaseTitle}; }
