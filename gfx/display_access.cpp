// Opening the display: full screen, display and input, then the art set converted
// once from the bitmap resources into surfaces (backdrops) and images (sheets).
#include "gfx/display_access.h"
#include "gfx/art.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/window.h"

uint32_t ScreenWidth = 0;
uint32_t ScreenHeight = 0;

namespace {
// A backdrop whose bitmap is missing, or does not cover the screen, is black.
void FillBlack(Surface& s) {
    uint16_t black = uint16_t(MakeColour(BackBuffer, 0));
    for (uint32_t y = 0; y < s.props.cyHeight; ++y)
        for (uint32_t x = 0; x < s.props.cxWidth; ++x) PutPixel(s, int32_t(x), int32_t(y), black);
}

void FillBackdrop(Surface& s, Image* img) {
    AllocatePixels(s);
    if (!BlitOpaque(s, 0, 0, int32_t(ScreenWidth), int32_t(ScreenHeight), img, 0, 0)) FillBlack(s);
}

void LoadBackdrop(unsigned id, Surface& first, Surface* second = nullptr) {
    HBITMAP bitmap = LoadBitmapW(ProgramInstance(), MAKEINTRESOURCEW(id));
    Image* img = CreateImage(BackBuffer, bitmap, -1, -1, 0, 0);
    DeleteObject(bitmap);
    FillBackdrop(first, img);
    if (second) FillBackdrop(*second, img);
    FreeImage(img);
}

Image* LoadSheet(unsigned id, int32_t sx = -1, int32_t sy = -1, int32_t w = 0, int32_t h = 0) {
    HBITMAP bitmap = LoadBitmapW(ProgramInstance(), MAKEINTRESOURCEW(id));
    Image* img = CreateImage(BackBuffer, bitmap, sx, sy, w, h);
    DeleteObject(bitmap);
    return img;
}
}  // namespace

int OpenDisplay(HWND window) {
    ScreenWidth = FrameSurface.props.cxWidth;
    ScreenHeight = FrameSurface.props.cyHeight;
    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    MoveWindow(window, 0, 0, int(ScreenWidth), int(ScreenHeight), 0);
    if (!GXOpenDisplay(window, GX_FULLSCREEN)) return 0;
    if (!GXOpenInput()) return 0;
    LoadBackdrop(BitmapMaze, MazeBackdrop, &MazeCanvas);
    LoadBackdrop(BitmapFlashMaze, FlashMaze);
    LoadBackdrop(BitmapTitleCard, TitleBackdrop);
    LoadBackdrop(BitmapBlack, BlackBackdrop);
    SpriteSheet = LoadSheet(BitmapSpriteSheet);
    SceneSheet = LoadSheet(BitmapSceneSheet);
    PausedBanner = LoadSheet(BitmapPausedBanner, 0, 0, 176, 8);
    KeyColour = MakeColour(BackBuffer, 0xFF00FF);
    return AllocatePixels(BackBuffer);
}

int CloseDisplay() {
    FreeImage(SpriteSheet);
    FreeImage(SceneSheet);
    FreeImage(PausedBanner);
    GXCloseDisplay();
    return GXCloseInput();
}
