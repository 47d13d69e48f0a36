// Which gamepad controls stand for the handset's keys: the d-pad and the left stick
// steer, A acts, Start pauses, Back goes back, the shoulders set the volume.
#pragma once
#include <cstdint>

// The virtual key of an SDL game-controller button, 0 for a button the game ignores.
int VirtualKeyForPadButton(int button);
// The shoulders pressed together mute: the other shoulder of a shoulder, -1 for any other button.
int OtherShoulder(int button);
// Back closes the help card, as Escape does.
bool IsBackButton(int button);

// The stick counts as pushed past kStickPress and as let go again only below
// kStickRelease, so a stick resting near the edge does not chatter.
constexpr int kStickPress = 16000;
constexpr int kStickRelease = 10000;
// current: the axis's direction so far (-1, 0, +1); value: the axis's new position.
int StickDirection(int current, int value);
// The virtual key for a direction of the left stick (x axis or y axis), 0 for none.
int VirtualKeyForStick(bool yAxis, int direction);

// SDL's own names of controller buttons ("a", "dpup", "start"): -1 when unknown.
int PadButtonByName(const char* name);
