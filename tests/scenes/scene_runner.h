// Test helpers for the intermission scenes: a fresh scene state, a run frame by frame
// with the marks the script promises, and a check of the picture a frame composed.
#pragma once
#include <cstdint>
#include <vector>

struct Image;

struct SceneMarks {
    int ghostMoved = 0;  // first frame in which the waiting ghost stepped
    int turned = 0;      // frame that turned the scene round
    int snagged = 0;     // first frame with the ghost on the nail
    int ended = 0;       // frame that set PhaseSceneDone
    std::vector<int> tuneStarts;
    int maxAnimFirstHalf = 0, maxAnimSecondHalf = 0;
};

// A sprite cell of a sheet drawn at (x, y); the sheet's key colour is transparent.
struct Layer {
    const Image* sheet;
    int32_t x, y, w, h, sx, sy;
};

void BeginScene(int32_t level = 1);
// Runs the scene from its first frame; calls each(frame) after every frame.
SceneMarks RunScene(void (*scene)(), void (*each)(int frame) = nullptr);
// Sample voices now playing the intermission tune.
int TuneVoices();
// Expects rows 0..199 of BackBuffer to be the black backdrop with these layers on it.
void ExpectPicture(const std::vector<Layer>& layers, const std::vector<std::pair<int, int>>& white = {});
