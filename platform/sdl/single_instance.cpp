// The single-instance socket: a listening unix socket in the abstract namespace; a later
// copy connects, checks the holder is the same user, writes one raise request and waits
// for the answer.
#include "platform/sdl/single_instance.h"
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {
constexpr size_t kLongestRequest = 16;
constexpr size_t kMostCallers = 16;
constexpr auto kCallerPatience = std::chrono::seconds(2);
// How long a later copy waits for the holder, from the call to its answer.
constexpr auto kHolderPatience = std::chrono::seconds(1);

socklen_t MakeAddress(const std::string& name, sockaddr_un* address) {
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    // sun_path[0] stays 0: the abstract namespace. Long names are cut to fit.
    size_t n = std::min(name.size(), sizeof address->sun_path - 1);
    std::memcpy(address->sun_path + 1, name.data(), n);
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
}

bool SameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

std::string Describe(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Whether the holder answers (or hangs up, having read the request) before the deadline.
bool Answered(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, int(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char answer[kLongestRequest];
        ssize_t n = recv(fd, answer, sizeof answer, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        return n >= 0;
    }
}
}  // namespace

std::string InstanceName(const std::string& title, const std::string& display) {
    return "glimmo-" + std::to_string(getuid()) + "-" + display + "-" + title;
}

std::string DisplayIdentity(const std::string& driver, const char* x11Display, const char* waylandDisplay) {
    if (driver == "x11") {
        std::string name = x11Display ? x11Display : "";
        if (name.rfind("unix:", 0) == 0) name.erase(0, 4);  // the local socket, as ":N" is
        size_t colon = name.rfind(':');
        size_t dot = name.find('.', colon == std::string::npos ? 0 : colon);
        if (colon != std::string::npos && dot != std::string::npos) name.erase(dot);  // the screen
        return "x11=" + name;
    }
    if (driver == "wayland")
        return "wayland=" + std::string(waylandDisplay && *waylandDisplay ? waylandDisplay : "wayland-0");
    return driver;
}

SingleInstance::~SingleInstance() {
    for (Caller& c : callers_) close(c.fd);
    if (listener_ >= 0) close(listener_);
}

SingleInstance::Claim SingleInstance::ClaimOrSignal(const std::string& name) {
    if (listener_ >= 0) return Claim::Holder;
    sockaddr_un address;
    socklen_t length = MakeAddress(name, &address);
    // A holder that is just closing refuses the call; then the name is free a moment later.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            problem_ = Describe("socket");
            return Claim::Unavailable;
        }
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
            if (listen(fd, 8) != 0) {
                problem_ = Describe("listen");
                close(fd);
                return Claim::Unavailable;
            }
            listener_ = fd;
            return Claim::Holder;
        }
        if (errno != EADDRINUSE) {
            problem_ = Describe("bind");
            close(fd);
            return Claim::Unavailable;
        }
        close(fd);

        int caller = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (caller < 0) {
            problem_ = Describe("socket");
            return Claim::Unavailable;
        }
        // A copy that has stopped answering must not hold this start up for ever.
        auto deadline = std::chrono::steady_clock::now() + kHolderPatience;
        timeval patience{std::chrono::duration_cast<std::chrono::seconds>(kHolderPatience).count(), 0};
        setsockopt(caller, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        if (connect(caller, reinterpret_cast<sockaddr*>(&address), length) != 0) {
            int failure = errno;
            close(caller);
            if (failure == ECONNREFUSED) continue;
            errno = failure;
            if (failure == EAGAIN || failure == EINPROGRESS) {
                problem_ = "the running copy does not answer";
                return Claim::NotAnswering;
            }
            problem_ = Describe("connect");
            return Claim::Unavailable;
        }
        if (!SameUser(caller)) {
            close(caller);
            problem_ = "the single-instance socket is held by another user";
            return Claim::Unavailable;
        }
        ssize_t sent = send(caller, kRaiseRequest, sizeof kRaiseRequest - 1, MSG_NOSIGNAL);
        bool answered = sent > 0 && Answered(caller, deadline);
        close(caller);
        if (!answered) {
            problem_ = "the running copy does not answer";
            return Claim::NotAnswering;
        }
        return Claim::OtherRunning;
    }
    problem_ = "the single-instance socket keeps refusing calls";
    return Claim::Unavailable;
}

bool SingleInstance::RaiseRequested() {
    if (listener_ < 0) return false;
    auto now = std::chrono::steady_clock::now();
    for (;;) {
        int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) break;
        if (!SameUser(fd) || callers_.size() >= kMostCallers) {
            close(fd);
            continue;
        }
        callers_.push_back(Caller{fd, {}, now});
    }
    bool raise = false;
    for (size_t i = 0; i < callers_.size();) {
        Caller& c = callers_[i];
        bool done = false;
        char buffer[kLongestRequest];
        ssize_t n = recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) c.received.append(buffer, size_t(n));
        if (c.received.find('\n') != std::string::npos) {
            if (c.received == kRaiseRequest) {
                raise = true;
                send(c.fd, kRaiseAnswer, sizeof kRaiseAnswer - 1, MSG_DONTWAIT | MSG_NOSIGNAL);
            }
            done = true;
        } else if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) ||
                   c.received.size() > kLongestRequest || now - c.since > kCallerPatience) {
            done = true;  // hung up, garbled, or too slow: not a request
        }
        if (done) {
            close(c.fd);
            callers_.erase(callers_.begin() + long(i));
        } else {
            ++i;
        }
    }
    return raise;
}
