// What the score draws: the panel, numbers and digits, the fruit and its row, and the
// points of a fruit or a ghost while they show. It reads the score; the score never draws.
#pragma once
#include <cstdint>

void DrawFruitItems(uint32_t now);  // the fruit while it stands, its points while they show
void GhostPointsRule(uint32_t now);
// The panel at the top: the 1UP and HIGH SCORE labels, the score and the best score.
void DrawScorePanel();
// The title's part of it: HIGH SCORE and the best score.
void DrawBestScore();
void DrawNumber(int32_t value, int32_t x, int32_t y);
void DrawDigit(int32_t d, int32_t x, int32_t y);
void DrawTinyDigit(int32_t d, int32_t x, int32_t y);
void DrawFruit(int32_t kind, int32_t x, int32_t y);
void DrawFruitPoints();
void DrawLevelFruits();
