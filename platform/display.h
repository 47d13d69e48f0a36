// The frame-memory services: display properties, open/close, begin/end draw.
// Pixels are 16-bit; the pitches say how the memory is laid out against the portrait view.
#pragma once
#include <cstdint>

struct GXDisplayProperties {
    uint32_t cxWidth;
    uint32_t cyHeight;
    int32_t cbxPitch;
    int32_t cbyPitch;
    int32_t cBPP;
    uint32_t ffFormat;
};

constexpr uint32_t kfDirect555 = 0x40;
constexpr uint32_t kfDirect565 = 0x80;
constexpr int GX_FULLSCREEN = 1;

// The portrait phone screen: 176 x 220, 16 bpp, 5-6-5, rows of 352 bytes.
constexpr GXDisplayProperties PortraitDisplay{176, 220, 2, 352, 16, kfDirect565};

struct WindowObject;
GXDisplayProperties GXGetDisplayProperties();
int GXOpenDisplay(WindowObject* window, uint32_t flags);
int GXOpenInput();
void* GXBeginDraw();
int GXEndDraw();
int GXCloseDisplay();
int GXCloseInput();

// Shell call that hides the task bar; on the desktop the window is already ours alone.
constexpr uint32_t SHFS_HIDETASKBAR = 0x02;
constexpr uint32_t SHFS_HIDESIPBUTTON = 0x08;
constexpr uint32_t SHFS_HIDESTARTICON = 0x20;
int SHFullScreen(WindowObject* window, uint32_t state);
