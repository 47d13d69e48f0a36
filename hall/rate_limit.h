// How many submissions one address may make a minute: counted in whole minutes from its
// first submission in them; the table forgets addresses whose minute is over.
#pragma once
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimit {
public:
    // `perMinute` 0: no limit.
    explicit RateLimit(int perMinute) : perMinute_(perMinute) {}
    // Whether `address` may submit now; counts the submission when it may.
    bool Allow(const std::string& address, std::chrono::steady_clock::time_point now);

private:
    struct Window {
        std::chrono::steady_clock::time_point start;
        int count = 0;
    };
    int perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, Window> windows_;
};
