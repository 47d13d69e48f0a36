// The figures several pictures share: the round player, the ghost bodies and the eyes,
// each as a 12 x 12 picture on a Clear ground.
#pragma once
#include "tools/artgen/canvas.h"

// Mouth directions in degrees: 0 right, 90 up, 180 left, 270 down.
Canvas PlayerFigure(int size, double mouthDeg, double halfOpenDeg);
// frame 0 or 1: the skirt's points alternate between the two.
Canvas GhostBody(int frame, uint8_t ink);
// Looking 0 right, 1 up, 2 left, 3 down: white eyes with blue pupils.
Canvas GhostEyes(int look);
Canvas FrightFace(uint8_t ink);

// How far open the player's mouth is (half the wedge, degrees) in each walking frame.
constexpr double MouthNearlyShut = 22;
constexpr double MouthHalfOpen = 42;
constexpr double MouthWideOpen = 64;
