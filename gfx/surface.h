// Surfaces (screen-shaped pixel areas laid out like the frame memory) and images
// (bitmaps converted once into row-major display pixels), with the blits between them.
#pragma once
#include <cstdint>
#include "platform/display.h"
#include "platform/resources.h"

class Surface {
public:
    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    uint16_t* origin;  // pixel (0, 0); null until memory is allocated or attached
    uint16_t* buffer;  // the allocation this surface owns, its lowest address; or null
    GXDisplayProperties props;
    int32_t xStep;      // pixels to the right-hand neighbour
    int32_t yStep;      // pixels to the neighbour below
    int32_t minOffset;  // lowest pixel offset from origin on the surface
    int32_t maxOffset;  // highest pixel offset from origin
};

struct Image {
    uint16_t* pixels;
    int32_t width;
    int32_t height;
};

// The "no key" value: no packed colour can equal it.
constexpr uint32_t NoKey = 0xFFFF;

// Whether blits, copies and pixels write anything (they do, unless turned off). A check
// of a replay, whose pictures nobody sees, turns it off: every call still checks its
// arguments and returns what it would, so the game goes exactly as it does on a screen.
void ComposePictures(bool on);

int AllocatePixels(Surface& s);
int SetPixels(Surface& s, uint16_t* address);
int PutPixel(Surface& s, int32_t x, int32_t y, uint32_t colour);
int Blit(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, int32_t sx, int32_t sy,
         uint32_t key);
int BlitOpaque(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, int32_t sx, int32_t sy);
// Note the key stands before the source position, as the game's callers pass it.
int BlitKeyed(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, uint32_t key, int32_t sx,
              int32_t sy);
int CopySurface(Surface& d, const Surface& s);
uint32_t PackColour(const Surface& f, uint32_t colour);
uint32_t MakeColour(const Surface& f, uint32_t colour);
// Whole form when sx < 0 and sy < 0; otherwise the rectangle form (a 2W x 2H image
// whose top-left w x h holds the rectangle).
Image* CreateImage(const Surface& f, HBITMAP bitmap, int32_t sx, int32_t sy, int32_t w, int32_t h);
void FreeImage(Image*& img);
