// The surfaces, the converted sheets, the key colour, and the frame protocol: compose
// in BackBuffer, then copy it whole into the frame memory between begin and end of drawing.
#include "gfx/art.h"

namespace {
GlobalObject<Surface> mazeBackdrop, flashMaze, titleBackdrop, blackBackdrop, mazeCanvas, backBuffer, frameSurface;
GlobalObjectSlot* const InOrder[] = {&mazeBackdrop, &flashMaze,  &titleBackdrop, &blackBackdrop,
                                     &mazeCanvas,   &backBuffer, &frameSurface};
}  // namespace

Surface& MazeBackdrop = *mazeBackdrop;
Surface& FlashMaze = *flashMaze;
Surface& TitleBackdrop = *titleBackdrop;
Surface& BlackBackdrop = *blackBackdrop;
Surface& MazeCanvas = *mazeCanvas;
Surface& BackBuffer = *backBuffer;
Surface& FrameSurface = *frameSurface;

Image* SpriteSheet = nullptr;
Image* SceneSheet = nullptr;
Image* PausedBanner = nullptr;
uint32_t KeyColour = 0;

std::span<GlobalObjectSlot* const> ArtSurfaceObjects() { return InOrder; }

void PresentFrame() {
    void* address = GXBeginDraw();
    SetPixels(FrameSurface, static_cast<uint16_t*>(address));
    CopySurface(FrameSurface, BackBuffer);
    GXEndDraw();
    SetPixels(FrameSurface, nullptr);  // frame memory is only valid while drawing
}

void DrawSprite(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const Image* sheet) {
    BlitKeyed(BackBuffer, x, y, w, h, sheet, KeyColour, sx, sy);
}
