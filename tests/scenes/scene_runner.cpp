// Test helpers for the intermission scenes: a fresh scene state, a run frame by frame
// with the marks the script promises, and a check of the picture a frame composed.
#include "tests/scenes/scene_runner.h"

#include <gtest/gtest.h>
#include <algorithm>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/volume_keys.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "game/scenes.h"
#include "game/score.h"
#include "gfx/art.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

void BeginScene(int32_t level) {
    SceneStarted = 0;
    SceneDirection = -1;
    TearCounter = 0;
    AnimCounter = 0;
    Level = level;
    GamePhase = PhaseIntermission;
}

int TuneVoices() {
    int n = 0;
    for (uint32_t i = 0; i < Mixer.sampleVoiceCount; ++i) {
        const SampleVoice& v = Mixer.sampleVoices[i];
        n += v.data != nullptr && v.data == GameSamples[SampleIntermission].data && v.IsPlaying();
    }
    return n;
}

SceneMarks RunScene(void (*scene)(), void (*each)(int frame)) {
    SceneMarks m;
    int tunes = TuneVoices();
    for (int frame = 1; frame <= 2000 && GamePhase == PhaseIntermission; ++frame) {
        int32_t ghostX = SceneGhostX, direction = SceneDirection;
        scene();
        if (frame > 1 && direction < 0 && SceneGhostX != ghostX && m.ghostMoved == 0) m.ghostMoved = frame;
        if (direction < 0 && SceneDirection > 0) m.turned = frame;
        if (TearCounter == 1) m.snagged = frame;
        if (GamePhase == PhaseSceneDone) m.ended = frame;
        int32_t& maxAnim = SceneDirection > 0 && direction > 0 ? m.maxAnimSecondHalf : m.maxAnimFirstHalf;
        maxAnim = std::max(maxAnim, AnimCounter);
        int now = TuneVoices();
        if (now > tunes) m.tuneStarts.push_back(frame);
        tunes = now;
        if (each) each(frame);
    }
    return m;
}

namespace {
uint16_t& PixelOf(Surface& s, int x, int y) { return s.origin[x * s.xStep + y * s.yStep]; }
}  // namespace

void ExpectPicture(const std::vector<Layer>& layers, const std::vector<std::pair<int, int>>& white) {
    ASSERT_NE(SpriteSheet, nullptr);
    ASSERT_NE(SceneSheet, nullptr);
    int wrong = 0, drawn = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 176; ++x) {
            uint16_t want = PixelOf(BlackBackdrop, x, y);
            if (std::find(white.begin(), white.end(), std::pair{x, y}) != white.end())
                want = uint16_t(MakeColour(BackBuffer, 0xFFFFFF));
            for (const Layer& l : layers) {
                int u = x - l.x, v = y - l.y;
                if (u < 0 || v < 0 || u >= l.w || v >= l.h) continue;
                uint16_t p = l.sheet->pixels[(l.sy + v) * l.sheet->width + l.sx + u];
                if (p != KeyColour) {
                    want = p;
                    ++drawn;
                }
            }
            uint16_t got = PixelOf(BackBuffer, x, y);
            if (got != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << got << ", want " << want;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(drawn, 0) << "no figure on the screen: the frame proves nothing";
}
