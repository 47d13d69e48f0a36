// Writes a frame of the display's memory as an RGB PNG, whatever its pitches and format.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/display.h"

// frame: the address of pixel (0, 0), laid out by props.
std::vector<uint8_t> FrameToRgb(const void* frame, const GXDisplayProperties& props);
// scale: each pixel drawn as a scale x scale square (a whole-number enlargement, crisp).
bool WriteFramePng(const std::string& path, const void* frame, const GXDisplayProperties& props, int scale = 1);
// Any RGB picture, w x h, 3 bytes a pixel, rows top first.
bool WriteRgbPng(const std::string& path, const uint8_t* rgb, int w, int h);
