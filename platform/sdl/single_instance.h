// One copy of the game per user and display: the first copy holds a local socket named
// after the user, the display and the title; a later start finds it, asks it to come
// forward, waits a second at most for its answer, and leaves. A copy that does not answer
// has frozen and is taken as gone.
#pragma once
#include <chrono>
#include <string>
#include <vector>

class SingleInstance {
public:
    enum class Claim {
        Holder,        // no other copy: this one now answers the socket
        OtherRunning,  // another copy holds it, has been asked to come forward, and answered
        NotAnswering,  // another copy holds it but does not answer: frozen, taken as gone
        Unavailable,   // the socket cannot be used (or a stranger holds the name): run anyway
    };

    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // name: any text; the socket lives in the abstract namespace, so nothing is left
    // behind on disk when a copy dies.
    Claim ClaimOrSignal(const std::string& name);
    // Takes the requests that have arrived, without waiting, and answers them: true if any
    // asked to raise.
    bool RaiseRequested();
    bool Holding() const { return listener_ >= 0; }
    // Why the last claim was NotAnswering or Unavailable.
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

// The socket name for a title on a display: per user, so two users on one machine each
// get one copy, and per display, so a copy on another display (another X server, another
// seat) is a game of its own.
std::string InstanceName(const std::string& title, const std::string& display);
// Which display a window goes to, from SDL's video driver and $DISPLAY or $WAYLAND_DISPLAY
// (null when unset): ":0", ":0.0" and "unix:0" are one X display.
std::string DisplayIdentity(const std::string& driver, const char* x11Display, const char* waylandDisplay);

// The whole request a later copy sends, and the holder's answer.
inline constexpr char kRaiseRequest[] = "raise\n";
inline constexpr char kRaiseAnswer[] = "raised\n";
