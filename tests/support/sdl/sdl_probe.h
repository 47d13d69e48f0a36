// The floor of a start-up: SDL's video and audio initialised and shut down again,
// with nothing else. The start-up benchmark measures the game against it.
#pragma once

bool InitAndQuitSdl();
