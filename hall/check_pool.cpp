// The pool of check workers and the worker's loop. A check goes down a pipe as its time
// limit and length and the replay's bytes; the answer comes back as a length and one JSON
// object with every field of the result.
#include "hall/check_pool.h"
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace {
// The largest answer a worker may send: a few fields and one line of why.
constexpr uint32_t LargestAnswer = 64 * 1024;

bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

// Reads exactly `size` bytes; false at the end of the pipe, an error, or past `deadline`.
bool ReadAll(int fd, void* data, size_t size, std::chrono::steady_clock::time_point deadline) {
    char* p = static_cast<char*>(data);
    while (size > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd pfd{fd, POLLIN, 0};
        int ready = poll(&pfd, 1, int(std::min<int64_t>(left.count(), 60000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        ssize_t n = read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

std::string VerdictName(Verdict v) {
    switch (v) {
        case Verdict::Holds: return "holds";
        case Verdict::DoesNotHold: return "does not hold";
        case Verdict::NotAReplay: return "not a replay";
        case Verdict::OtherGameVersion: return "other game version";
        case Verdict::TooLong: return "too long";
    }
    return "not a replay";
}

nlohmann::json ToJson(const VerifyResult& r) {
    return {{"verdict", VerdictName(r.verdict)},
            {"why", r.why},
            {"score", r.score},
            {"level", r.level},
            {"passes", r.passes},
            {"gameMs", r.gameMs},
            {"gameVersion", r.gameVersion},
            {"demo", r.demo},
            {"playedToEnd", r.playedToEnd}};
}

VerifyResult FromJson(const nlohmann::json& j) {
    VerifyResult r;
    const std::string name = j.at("verdict").get<std::string>();
    for (Verdict v :
         {Verdict::Holds, Verdict::DoesNotHold, Verdict::NotAReplay, Verdict::OtherGameVersion, Verdict::TooLong})
        if (VerdictName(v) == name) r.verdict = v;
    r.why = j.at("why").get<std::string>();
    r.score = j.at("score").get<int32_t>();
    r.level = j.at("level").get<int>();
    r.passes = j.at("passes").get<uint64_t>();
    r.gameMs = j.at("gameMs").get<uint64_t>();
    r.gameVersion = j.at("gameVersion").get<int>();
    r.demo = j.at("demo").get<bool>();
    r.playedToEnd = j.at("playedToEnd").get<bool>();
    return r;
}

VerifyResult Failed(Verdict verdict, std::string why) {
    VerifyResult r;
    r.verdict = verdict;
    r.why = std::move(why);
    return r;
}
}  // namespace

CheckPool::CheckPool(std::string program, int workers) : program_(std::move(program)) {
    for (int i = 0; i < workers; ++i) {
        workers_.push_back(Start());
        idle_.push_back(size_t(i));
    }
}

CheckPool::~CheckPool() {
    for (Worker& w : workers_) Stop(w);
}

CheckPool::Worker CheckPool::Start() {
    int to[2], from[2];
    if (pipe2(to, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    if (pipe2(from, O_CLOEXEC) != 0) {
        close(to[0]);
        close(to[1]);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from[1], 1);
    std::string flag = "--check-worker";
    char* argv[] = {program_.data(), flag.data(), nullptr};
    pid_t pid = -1;
    int failed = posix_spawn(&pid, program_.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(to[0]);
    close(from[1]);
    if (failed) {
        close(to[1]);
        close(from[0]);
        throw std::runtime_error("cannot start a check worker " + program_ + ": " + std::strerror(failed));
    }
    return {pid, to[1], from[0]};
}

void CheckPool::Stop(Worker& w) {
    if (w.pid <= 0) return;
    close(w.to);
    close(w.from);
    kill(w.pid, SIGKILL);
    waitpid(w.pid, nullptr, 0);
    w = {};
}

bool CheckPool::Ask(Worker& w, const std::string& text, std::chrono::milliseconds timeLimit,
                    std::chrono::steady_clock::time_point deadline, VerifyResult& result) {
    const uint32_t limitMs = uint32_t(timeLimit.count());
    const uint64_t size = text.size();
    uint32_t answerSize = 0;
    if (!WriteAll(w.to, &limitMs, sizeof limitMs) || !WriteAll(w.to, &size, sizeof size) ||
        !WriteAll(w.to, text.data(), text.size()) || !ReadAll(w.from, &answerSize, sizeof answerSize, deadline) ||
        answerSize > LargestAnswer)
        return false;
    std::string answer(answerSize, '\0');
    if (!ReadAll(w.from, answer.data(), answer.size(), deadline)) return false;
    try {
        result = FromJson(nlohmann::json::parse(answer));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

VerifyResult CheckPool::Check(const std::string& text, std::chrono::milliseconds timeLimit,
                              std::chrono::microseconds* took) {
    size_t index;
    {
        std::unique_lock lock(mutex_);
        freed_.wait(lock, [&] { return !idle_.empty(); });
        index = idle_.back();
        idle_.pop_back();
    }
    struct GiveBack {
        CheckPool& pool;
        size_t index;
        ~GiveBack() {
            {
                std::lock_guard lock(pool.mutex_);
                pool.idle_.push_back(index);
            }
            pool.freed_.notify_one();
        }
    } giveBack{*this, index};
    Worker& w = workers_[index];
    VerifyResult result;
    for (int attempt = 0;; ++attempt) {
        if (w.pid <= 0) {
            try {
                w = Start();
            } catch (const std::exception&) {
                return Failed(Verdict::NotAReplay, "the check could not be run");
            }
        }
        const auto start = std::chrono::steady_clock::now();
        const auto deadline = start + timeLimit + std::chrono::seconds(1);
        const bool ok = Ask(w, text, timeLimit, deadline, result);
        if (took)
            *took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        if (ok) return result;
        // Past its time, dead, or speaking nonsense: a fresh worker takes its place.
        const bool late = std::chrono::steady_clock::now() >= deadline;
        Stop(w);
        if (late) return Failed(Verdict::TooLong, "the check ran past its time limit");
        // A worker that died before this replay reached it says nothing of the replay:
        // once more on a fresh one. Twice is the replay's doing.
        if (attempt > 0) return Failed(Verdict::NotAReplay, "the check stopped on this replay");
    }
}

int RunCheckWorker() {
    // Answers go out on a copy of standard output; whatever the game prints goes to stderr.
    const int out = dup(1);
    dup2(2, 1);
    const auto never = std::chrono::steady_clock::time_point::max();
    for (;;) {
        uint32_t limitMs = 0;
        uint64_t size = 0;
        if (!ReadAll(0, &limitMs, sizeof limitMs, never) || !ReadAll(0, &size, sizeof size, never)) return 0;
        if (size > (uint64_t(1) << 30)) return 1;
        std::string text(size, '\0');
        if (!ReadAll(0, text.data(), text.size(), never)) return 0;
        VerifyLimits limits;
        limits.timeLimit = std::chrono::milliseconds(limitMs);
        const std::string answer = ToJson(VerifyReplay(std::move(text), limits))
                                       .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        const uint32_t answerSize = uint32_t(answer.size());
        if (!WriteAll(out, &answerSize, sizeof answerSize) || !WriteAll(out, answer.data(), answer.size())) return 0;
    }
}
