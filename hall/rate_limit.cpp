// The per-address count of submissions.
#include "hall/rate_limit.h"

bool RateLimit::Allow(const std::string& address, std::chrono::steady_clock::time_point now) {
    if (perMinute_ <= 0) return true;
    const auto minute = std::chrono::minutes(1);
    std::lock_guard lock(mutex_);
    // Many addresses: the ones whose minute is over go, so the table stays as large as a
    // minute's senders.
    if (windows_.size() > 4096) std::erase_if(windows_, [&](const auto& w) { return now - w.second.start >= minute; });
    Window& w = windows_[address];
    if (w.count == 0 || now - w.start >= minute) w = {now, 0};
    if (w.count >= perMinute_) return false;
    ++w.count;
    return true;
}
