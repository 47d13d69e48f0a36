// Runs the real glimmo executable (or another program) as a child with a changed
// environment (and, as root, optionally as an unprivileged user), capturing its exit code
// and what it printed.
#pragma once
#include <sys/types.h>
#include <atomic>
#include <csignal>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;  // -1: killed by a signal or timed out
    bool timedOut = false;
    std::string out;
    std::string err;
    std::vector<std::string> ErrLines() const;
};

// The run said exactly one line on stderr, its own ("PROGRAM: ..."), naming `what`.
void ExpectOneLineAbout(const ProgramResult& run, const std::string& program, const std::string& what);

struct ProgramSetup {
    std::vector<std::string> args;
    std::map<std::string, std::optional<std::string>> env;  // nullopt unsets the variable
    std::optional<unsigned> runAsUser;                      // only honoured when running as root
    unsigned timeoutSeconds = 60;
    // Windowed runs: SIGTERM after this long (SDL turns it into a quit request), and a
    // network namespace of its own, so another copy's single-instance socket on this
    // machine cannot send this one away.
    std::optional<unsigned> terminateAfterMs;
    std::string terminateOnceExists;  // and not before this file exists (the game is up)
    int terminateSignal = SIGTERM;    // or another way of asking, as a desktop might
    bool ownInstanceSocket = false;
    std::string workingFolder;  // where the child starts; empty: this process's
    // A folder that the child sees as its /tmp (a mount namespace of its own), read-only
    // if asked. Where this cannot be had the child exits with NoPrivateTmp.
    std::string privateTmp;
    bool privateTmpReadOnly = false;
    std::string stdinFile = "/dev/null";
    std::atomic<pid_t>* startedPid = nullptr;  // given the child's process id once it is started
};
constexpr int NoPrivateTmp = 124;

// The glimmo program under test with the setup.
ProgramResult RunGlimmo(const ProgramSetup& setup);
// Any program the same way (its path first in args).
ProgramResult RunChild(const ProgramSetup& setup);

// A fresh folder under the test temp folder, removed with its contents by the destructor.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& leaf) const { return path_ + "/" + leaf; }

private:
    std::string path_;
};

// An X server of its own (Xvfb, on the first free display number), for windowed runs
// that need a real display; stopped by the destructor. Not running when Xvfb is missing.
class VirtualDisplay {
public:
    explicit VirtualDisplay(int width = 640, int height = 480);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    bool Running() const { return pid_ > 0; }
    const std::string& Name() const { return name_; }  // as DISPLAY wants it: ":N"
    void Kill();                                       // the server dies under its clients

private:
    pid_t pid_ = -1;
    std::string name_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
