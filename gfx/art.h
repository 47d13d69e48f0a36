// The art set: the global surfaces every frame is drawn from, the converted sheets,
// the key colour, and the frame protocol. The surfaces are global objects, built in
// the order below when the program starts and torn down in reverse.
#pragma once
#include <cstdint>
#include <span>
#include "gfx/surface.h"
#include "platform/global_object.h"

extern Surface& MazeBackdrop;
extern Surface& FlashMaze;
extern Surface& TitleBackdrop;
extern Surface& BlackBackdrop;
extern Surface& MazeCanvas;
extern Surface& BackBuffer;
extern Surface& FrameSurface;
// The seven surfaces above, in the order they are built.
std::span<GlobalObjectSlot* const> ArtSurfaceObjects();

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
// A piece of a sheet drawn into BackBuffer with the key colour transparent: how every
// figure, digit and caption of a frame is drawn.
void DrawSprite(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const Image* sheet = SpriteSheet);
