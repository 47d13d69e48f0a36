// The game's version: the number a replay names to be played as it was recorded. It
// stands for the game itself (its rules, timing, pictures and sounds), not for the
// program around it, so every program of the same game version plays the same replays to
// the same end. It changes only when a change alters what a replay would show, and then
// in the same commit as the golden runs' new digests (tests/golden); never otherwise.
#pragma once

constexpr int GameVersion = 1;
