// glimmo-hall: the hall of fame's server, or (with --check-worker) one of the processes it
// starts to play the submitted replays.
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>
#include "hall/check_pool.h"
#include "hall/hall_options.h"
#include "hall/server.h"
#include "hall/store.h"

int main(int argc, char** argv) {
    HallOptions options;
    std::string error;
    if (!ParseHallOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "glimmo-hall: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(HallHelpText().c_str(), stdout);
        return 0;
    }
    if (options.checkWorker) return RunCheckWorker();
    try {
        // A connection to the database for every request at once, up to a number that
        // several halls on one PostgreSQL (100 connections by default) can share.
        Store store(options.db, std::min(options.threads, 16));
        const int workers = options.workers ? options.workers : int(std::max(1u, std::thread::hardware_concurrency()));
        CheckPool checks("/proc/self/exe", workers);
        return RunHallServer(options, store, checks);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "glimmo-hall: %s\n", e.what());
        return 1;
    }
}
