// One copy of the game per user: the first copy holds a local socket named after the
// user and the title; a later start finds it, asks it to come forward, and leaves.
#pragma once
#include <chrono>
#include <string>
#include <vector>

class SingleInstance {
public:
    enum class Claim {
        Holder,        // no other copy: this one now answers the socket
        OtherRunning,  // another copy holds it and has been asked to come forward
        Unavailable,   // the socket cannot be used (or a stranger holds the name): run anyway
    };

    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // name: any text; the socket lives in the abstract namespace, so nothing is left
    // behind on disk when a copy dies.
    Claim ClaimOrSignal(const std::string& name);
    // Takes the requests that have arrived, without waiting: true if any asked to raise.
    bool RaiseRequested();
    bool Holding() const { return listener_ >= 0; }
    // Why the last claim was Unavailable.
    const std::string& Problem() const { return problem_; }

private:
    struct Caller {
        int fd;
        std::string received;
        std::chrono::steady_clock::time_point since;
    };
    int listener_ = -1;
    std::vector<Caller> callers_;
    std::string problem_;
};

// The socket name for a title: per user, so two users on one machine each get one copy.
std::string InstanceName(const std::string& title);

// The whole request a later copy sends.
inline constexpr char kRaiseRequest[] = "raise\n";
