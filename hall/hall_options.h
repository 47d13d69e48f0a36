// The hall's command line: one table of options gives the parser and --help.
#pragma once
#include <cstddef>
#include <string>

struct HallOptions {
    std::string db = "glimmo-hall.db";  // a SQLite file, or a postgresql:// address
    std::string listen = "127.0.0.1";
    int port = 8630;                // 0: a free one, printed at the start
    std::string web;                // the browser build's folder, served at /play/
    int workers = 0;                // check workers; 0: one per core
    int threads = 256;              // HTTP threads: connections served at once
    size_t maxBytes = 1024 * 1024;  // the largest replay taken
    int perMinute = 30;             // submissions a minute from one address; 0: any
    int checkMs = 2000;             // a check stops past this
    bool checkWorker = false;       // this process is a check worker
    bool help = false;
};

// Fills `out`; on a bad command line returns false with `error` set.
bool ParseHallOptions(int argc, char** argv, HallOptions& out, std::string& error);
std::string HallHelpText();
