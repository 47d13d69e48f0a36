// The eight bonus fruits, 12 x 12 each, in the order of their kinds: cherries,
// strawberry, orange, apple, melon, winged emblem, bell, key.
#pragma once
#include "tools/artgen/canvas.h"

Canvas FruitFigure(int kind);  // kind 1..8
