// The window procedure: settings and the frame timer at creation, the action, pause
// and back keys, deactivation; the new-game sequence and the pause that stops the clock.
#include "app/window_proc.h"
#include "app/entry.h"
#include "app/game_frame.h"
#include "app/settings.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

uint8_t Paused = 0;
uint32_t PauseStartTick = 0;
uint8_t SoundClosed = 0;
Voice* ChompVoice = nullptr;
Voice* FrightVoice = nullptr;
Voice* EyesVoice = nullptr;
Voice* SirenVoices[5] = {};

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

Voice* StartPaused(int slot) {
    Voice* voice = Mixer.GetVoice(Mixer.PlaySample(GameSamples[slot]));
    PauseVoice(voice);
    return voice;
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

void PauseVoice(Voice* voice) {
    if (voice != nullptr && SoundClosed == 0) voice->Pause();
}

void ResumeVoice(Voice* voice) {
    if (voice != nullptr && SoundClosed == 0) voice->Resume();
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SoundClosed = 0;
            LoadSettings();
            VolumeCounter = Sound * 5;
            SetTimer(window, FrameTimerId, 2, nullptr);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
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
        case WM_KEYDOWN:
            KeyCommand(wParam);
            return 0;
        case WM_TIMER:
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void StartNewGame() {
    Mixer.SetSampleMasterVolume(0);
    // Resume before stopping: a voice stopped while paused would never be free again.
    Mixer.ResumeAllSamples();
    Mixer.StopAllSamples();
    ChompVoice = StartPaused(SampleChomp);
    FrightVoice = StartPaused(SampleFright);
    EyesVoice = StartPaused(SampleEyes);
    for (int i = 0; i < 5; ++i) SirenVoices[i] = StartPaused(SampleSiren1 + i);
    Mixer.SetSampleMasterVolume(Sound);
    ResetGhosts();
    ResetPlayer();
    ResetGame();
    Player.state = PlayerReady;
    DotsEaten = 0;
    RestoreDots();
    PaintDots();
    GamePhase = PhaseReady;
    Mixer.PlaySample(GameSamples[SampleStartTune]);
    PhaseTimer = GetTickCount() + 4300;
}

void TogglePause() {
    if (Paused == 0) {
        Paused = 1;
        Mixer.PauseOutput();
        PauseStartTick = GetTickCount();
        return;
    }
    Paused = 0;
    // Every pending deadline moves by the pause's length, so play resumes where it stopped.
    const uint32_t shift = GetTickCount() - PauseStartTick;
    ScatterTimer += shift;
    FrightEnd += shift;
    PhaseTimer += shift;
    BlinkTick += shift;
    // 0 on these three means "none", and none stays none however long the pause.
    FruitUntil = ShiftDisplayDeadline(FruitUntil, shift);
    FruitPointsUntil = ShiftDisplayDeadline(FruitPointsUntil, shift);
    GhostPointsUntil = ShiftDisplayDeadline(GhostPointsUntil, shift);
    Player.nextStep += shift;
    for (GhostRecord& ghost : Ghosts) ghost.nextStep += shift;
    Mixer.ResumeOutput();
}
