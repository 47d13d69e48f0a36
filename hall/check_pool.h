// The checks of submitted replays, each played in a worker process: the game is plain
// globals, so a process plays one replay at a time, and a pool of processes uses every
// core. A worker that dies or runs past its time is killed and replaced; the hall goes on.
#pragma once
#include <sys/types.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>
#include "run/verify.h"

class CheckPool {
public:
    // Starts `workers` processes of `program` (this program, run with --check-worker).
    CheckPool(std::string program, int workers);
    ~CheckPool();
    CheckPool(const CheckPool&) = delete;
    CheckPool& operator=(const CheckPool&) = delete;

    // Plays `text` in the next free worker; past `timeLimit` (and a second's grace for the
    // worker to say so itself) the worker is killed and the answer is Verdict::TooLong.
    // `took`, when given, is set to the time the worker spent on it.
    VerifyResult Check(const std::string& text, std::chrono::milliseconds timeLimit,
                       std::chrono::microseconds* took = nullptr);
    int Size() const { return int(workers_.size()); }

private:
    struct Worker {
        pid_t pid = -1;
        int to = -1;    // its standard input
        int from = -1;  // its standard output
    };
    Worker Start();
    void Stop(Worker& worker);
    // Sends one check to `worker` and reads its answer; false when it died, answered
    // nonsense or passed `deadline`.
    bool Ask(Worker& worker, const std::string& text, std::chrono::milliseconds timeLimit,
             std::chrono::steady_clock::time_point deadline, VerifyResult& result);

    std::string program_;
    std::mutex mutex_;
    std::condition_variable freed_;
    std::vector<Worker> workers_;  // all of them, for the destructor
    std::vector<size_t> idle_;     // indexes into workers_
};

// The worker's side: reads checks on standard input until it closes, answers each on
// standard output. The process's exit code.
int RunCheckWorker();
