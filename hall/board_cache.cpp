// A few rendered pages of the board, each for its life at most.
#include "hall/board_cache.h"

std::optional<std::string> BoardCache::Find(const std::string& key) {
    std::lock_guard lock(mutex_);
    auto it = pages_.find(key);
    if (it == pages_.end() || std::chrono::steady_clock::now() - it->second.made >= life_) return std::nullopt;
    return it->second.body;
}

uint64_t BoardCache::Generation() {
    std::lock_guard lock(mutex_);
    return generation_;
}

void BoardCache::Keep(const std::string& key, std::string body, uint64_t generation) {
    std::lock_guard lock(mutex_);
    if (generation != generation_) return;
    if (pages_.size() >= kMostPages && !pages_.count(key)) pages_.clear();
    pages_[key] = Page{std::move(body), std::chrono::steady_clock::now()};
}

void BoardCache::Changed() {
    std::lock_guard lock(mutex_);
    ++generation_;
    pages_.clear();
}
