// The game's state as named numbers: every global of the game and of the loop around it
// that a game can find left over from the title or from the game before. A recorded game
// keeps them as they stood when it began, and its replay puts them back, so the game runs
// from the very same place (the fright of the last game, the frame counters of the title).
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using WorldValues = std::vector<std::pair<std::string, int64_t>>;

// Every value, in the table's order (cheap enough for every pass on the title), and the
// same numbers with their names.
std::vector<int64_t> WorldNumbers();
WorldValues NameWorld(const std::vector<int64_t>& numbers);
// Where `name` stands in the table, or -1 when the game has no value of that name.
int WorldIndex(const std::string& name);
// True when `value` is one a game can give the value at `index`; WorldRange says which
// those are ("0 to 244").
bool WorldValueFits(int index, int64_t value);
std::string WorldRange(int index);
// True for a value that replays written before it was kept may lack.
bool WorldValueOptional(int index);
// Puts the values back; names that are not in the table are passed over (the reader has
// already refused them).
void ApplyWorld(const WorldValues& values);
// How many values a whole world has.
size_t WorldSize();
