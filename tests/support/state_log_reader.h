// Reading the headless state log back: one pass a line, flattened into named fields
// ("phase", "player.x", "ghosts.2.mode") in the order they stand in the line.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using StateFields = std::vector<std::pair<std::string, std::string>>;

// The fields of one line; strings keep their quotes off.
StateFields ReadStateLine(const std::string& line);
// One field of a line as a number; `missing` when the line has no such field.
int64_t StateValue(const std::string& line, const std::string& name, int64_t missing = -99999);
// One field of a line as text; empty when the line has no such field.
std::string StateText(const std::string& line, const std::string& name);
// The lines of a state log file, without their line ends.
std::vector<std::string> StateLogLines(const std::string& path);
