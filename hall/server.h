// The hall's HTTP side: the board (page and JSON), the replays to download, the watch
// links into the browser build it serves, and the submissions, each checked, refused
// with a reason, or kept.
#pragma once
#include <string>
#include "hall/hall_options.h"

class CheckPool;
class Store;

// Listens as `options` say until SIGINT or SIGTERM; prints its address once it listens.
// The process's exit code.
int RunHallServer(const HallOptions& options, Store& store, CheckPool& checks);
