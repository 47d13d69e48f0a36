// The frame-memory services, passed to the backend in force.
#include "platform/display.h"
#include "platform/backend.h"

GXDisplayProperties GXGetDisplayProperties() {
    return HasBackend() ? CurrentBackend().DisplayProperties() : PortraitDisplay;
}

int GXOpenDisplay(WindowObject*, uint32_t) { return CurrentBackend().OpenDisplay() ? 1 : 0; }
int GXOpenInput() { return 1; }
void* GXBeginDraw() { return CurrentBackend().BeginDraw(); }

int GXEndDraw() {
    CurrentBackend().EndDraw();
    return 1;
}

int GXCloseDisplay() {
    CurrentBackend().CloseDisplay();
    return 1;
}

int GXCloseInput() { return 1; }

// The desktop has no task bar to hide over our window.
int SHFullScreen(WindowObject*, uint32_t) { return 1; }
