// The converted sheets, the key colour, and the frame protocol: compose in BackBuffer,
// then copy it whole into the frame memory between begin and end of drawing.
#include "art.h"

Image* SpriteSheet = nullptr;
Image* SceneSheet = nullptr;
Image* PausedBanner = nullptr;
uint32_t KeyColour = 0;

void PresentFrame() {
    void* address = GXBeginDraw();
    SetPixels(FrameSurface, static_cast<uint16_t*>(address));
    CopySurface(FrameSurface, BackBuffer);
    GXEndDraw();
    SetPixels(FrameSurface, nullptr);  // frame memory is only valid while drawing
}
