// The board as a page and as JSON: place, name, score, level, game time and date of each
// game, with the links to watch it in the browser and to download its replay.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>
#include "hall/store.h"

// Where a game is watched, and where its replay is downloaded.
std::string WatchLink(int64_t id);
std::string ReplayLink(int64_t id);
// One game as the JSON the board and a submission's answer give.
nlohmann::json EntryJson(const GameEntry& e, int64_t place);
// `board` begins at place `firstPlace`.
nlohmann::json BoardJson(const std::vector<GameEntry>& board, int64_t firstPlace);
std::string BoardHtml(const std::vector<GameEntry>& board, int64_t firstPlace);
