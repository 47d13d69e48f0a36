// The board as last rendered, for a moment: a crowd of readers costs the database one
// query a second instead of one each, a game kept by this hall shows at once, and one
// kept by another hall on the same database within the second.
#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

class BoardCache {
public:
    explicit BoardCache(std::chrono::milliseconds life) : life_(life) {}

    // The body rendered for `key` (a page of the board, HTML or JSON), while it is fresh.
    std::optional<std::string> Find(const std::string& key);
    // Before the query: the generation the rendered body will belong to.
    uint64_t Generation();
    // After it: kept unless a game was kept meanwhile.
    void Keep(const std::string& key, std::string body, uint64_t generation);
    // A game was kept: every rendered page is stale.
    void Changed();

private:
    struct Page {
        std::string body;
        std::chrono::steady_clock::time_point made;
    };
    static constexpr size_t kMostPages = 64;  // the pages asked for are few; odd offsets do not pile up
    std::chrono::milliseconds life_;
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
    uint64_t generation_ = 0;
};
