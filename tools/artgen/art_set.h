// Every picture of the game's art set, drawn in memory, and the files they become in
// res/. Running the same drawing twice gives byte-identical files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "tools/artgen/canvas.h"

Canvas DrawSpriteSheet();
Canvas DrawSceneSheet();
Canvas DrawMaze(uint8_t wallInk);
Canvas DrawTitleCard();
Canvas DrawBlackScreen();
Canvas DrawPausedBanner();
Canvas DrawIcon();
// The icon drawn for 16 or 24 pixels.
Canvas DrawSmallIcon(int size);

struct ArtFile {
    std::string name;  // file name in res/
    std::vector<uint8_t> bytes;
};

// All files in a fixed order: the seven bitmaps, the icon bitmap and the desktop's PNGs
// of the icon at every size (glimmo-SIZE.png).
std::vector<ArtFile> DrawArtSet();
