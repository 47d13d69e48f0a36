// The window's size: the phone's 176 x 220 screen drawn at a whole-number scale, the
// largest that fits the desktop's usable area with room left for the window frame.
#pragma once

constexpr int kPhoneWidth = 176;
constexpr int kPhoneHeight = 220;
// Room kept for the title bar and borders that the window manager adds.
constexpr int kFrameRoomX = 16;
constexpr int kFrameRoomY = 64;
constexpr int kLargestScale = 16;

// 0 picks the largest scale that fits usableWidth x usableHeight, never less than 1;
// requested > 0 is the player's own choice, kept where it fits (and up to kLargestScale),
// else lowered to the largest that fits. An unknown desktop (0 x 0) keeps the choice.
int ChooseWindowScale(int usableWidth, int usableHeight, int requested);
