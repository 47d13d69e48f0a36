// The window's title: the game's name, and what the picture cannot say while it matters:
// the volume while the volume keys change it, and how to leave the pause.
#pragma once
#include <cstdint>
#include <string>

// How long the volume stays in the title after the volume keys were let go.
constexpr uint32_t VolumeTitleMs = 2000;

// The title for the name of the string table: the volume (0..64) when volumeShown, else
// the way out of the pause when paused, else the name alone.
std::wstring WindowTitleText(const std::wstring& name, bool paused, bool volumeShown, int32_t volume);

// Once per pass of the loop: gives the game window the title of the moment.
void UpdateWindowTitle();
