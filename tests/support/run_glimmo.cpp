// Child-process running for the fault tests: fork, set the environment, exec glimmo,
// collect its output through files (no pipe can fill up), kill it if it hangs.
#include "tests/support/run_glimmo.h"
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

std::vector<std::string> ProgramResult::ErrLines() const {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

ScratchFolder::ScratchFolder(const std::string& name) {
    std::string base = ::testing::TempDir() + "glimmo-faults-" + std::to_string(getpid()) + "-" + name;
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    path_ = base;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // A folder left without permissions by a test is opened up again first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored)) chmod(it->path().c_str(), 0700);
    chmod(path_.c_str(), 0700);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void ExpectOneLineAbout(const ProgramResult& run, const std::string& program, const std::string& what) {
    ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_EQ(run.err.rfind(program + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(what), std::string::npos) << run.err;
}

ProgramResult RunGlimmo(const ProgramSetup& setup) {
    ProgramSetup withProgram = setup;
    withProgram.args.insert(withProgram.args.begin(), GLIMMO_PROGRAM);
    return RunChild(withProgram);
}

namespace {
// In the child: its own mount namespace, with `folder` over /tmp.
bool UsePrivateTmp(const std::string& folder, bool readOnly) {
    if (unshare(CLONE_NEWNS) != 0) return false;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    if (mount(folder.c_str(), "/tmp", nullptr, MS_BIND, nullptr) != 0) return false;
    return !readOnly || mount(nullptr, "/tmp", nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
}  // namespace

ProgramResult RunChild(const ProgramSetup& setup) {
    static std::atomic<int> runs{0};  // two runs at once each capture into a folder of their own
    ScratchFolder capture("capture-" + std::to_string(runs++));
    const std::string outPath = capture / "out", errPath = capture / "err";
    std::vector<std::string> argStrings = setup.args;

    pid_t child = fork();
    if (child == 0) {
        int in = open(setup.stdinFile.c_str(), O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (const auto& [name, value] : setup.env) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
        if (!setup.workingFolder.empty() && chdir(setup.workingFolder.c_str()) != 0) _exit(123);
        if (setup.ownInstanceSocket && unshare(CLONE_NEWNET) != 0) unshare(CLONE_NEWUSER | CLONE_NEWNET);
        // The program is held open before /tmp is covered: a build that lives under /tmp
        // would otherwise be hidden by the private /tmp it is about to run with.
        const int program = open(argStrings[0].c_str(), O_PATH | O_CLOEXEC);
        if (program < 0) _exit(127);
        if (!setup.privateTmp.empty() && !UsePrivateTmp(setup.privateTmp, setup.privateTmpReadOnly))
            _exit(NoPrivateTmp);
        if (setup.runAsUser && geteuid() == 0) {
            if (setgid(*setup.runAsUser) != 0 || setuid(*setup.runAsUser) != 0) _exit(125);
        }
        std::vector<char*> argv;
        for (std::string& a : argStrings) argv.push_back(a.data());
        argv.push_back(nullptr);
        fexecve(program, argv.data(), environ);
        _exit(127);
    }
    ProgramResult result;
    if (child < 0) return result;
    if (setup.startedPid) *setup.startedPid = child;
    int status = 0;
    auto started = std::chrono::steady_clock::now();
    auto deadline = started + std::chrono::seconds(setup.timeoutSeconds);
    bool terminated = false;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (setup.terminateAfterMs && !terminated &&
            std::chrono::steady_clock::now() > started + std::chrono::milliseconds(*setup.terminateAfterMs) &&
            (setup.terminateOnceExists.empty() || Exists(setup.terminateOnceExists))) {
            kill(child, setup.terminateSignal);
            terminated = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = ReadWholeFile(outPath);
    result.err = ReadWholeFile(errPath);
    return result;
}

VirtualDisplay::VirtualDisplay(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    pid_t child = fork();
    if (child == 0) {
        int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        int fd = dup(ready[1]);  // without close-on-exec: Xvfb writes its display number there
        std::string fdText = std::to_string(fd);
        // No reset when the last client leaves: a test's next window would find the server
        // refusing connections meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0",
               screen.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    if (child < 0) {
        close(ready[0]);
        return;
    }
    // The number comes once the server takes connections.
    std::string number;
    pollfd p{ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 20000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (number.empty()) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return;
    }
    pid_ = child;
    name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

void VirtualDisplay::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
