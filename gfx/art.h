// The art set: the global surfaces every frame is drawn from, the converted sheets,
// the key colour, and the frame protocol. Globals are constructed in the game's fixed
// order by the program start (app/globals.cpp) and destroyed in reverse.
#pragma once
#include <cstdint>
#include "surface.h"

extern Surface& MazeBackdrop;
extern Surface& FlashMaze;
extern Surface& TitleBackdrop;
extern Surface& BlackBackdrop;
extern Surface& MazeCanvas;
extern Surface& BackBuffer;
extern Surface& FrameSurface;

extern Image* SpriteSheet;
extern Image* SceneSheet;
extern Image* PausedBanner;
extern uint32_t KeyColour;

// Bitmap resource numbers.
constexpr unsigned BitmapSpriteSheet = 108;
constexpr unsigned BitmapBlack = 113;
constexpr unsigned BitmapTitleCard = 114;
constexpr unsigned BitmapPausedBanner = 117;
constexpr unsigned BitmapSceneSheet = 127;
constexpr unsigned BitmapMaze = 131;
constexpr unsigned BitmapFlashMaze = 132;

// Shows BackBuffer on the display: the tail of every frame function.
void PresentFrame();
