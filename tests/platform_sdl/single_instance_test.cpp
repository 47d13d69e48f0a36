// The single-instance handshake: the first claimant holds the name, a second is told
// another copy runs and makes the holder come forward; strangers' bytes do nothing; a
// holder that never answers is taken as gone; each display has a name of its own.
#include "platform/sdl/single_instance.h"
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {
std::string TestName(const char* what) {
    return InstanceName("test-" + std::to_string(getpid()) + "-" + what, "x11=:0");
}

// Connects to the holder and writes raw bytes, as a confused or hostile caller would.
void SendRaw(const std::string& name, const std::string& bytes) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address),
                      socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    if (!bytes.empty()) {
        EXPECT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    close(fd);
}
}  // namespace

TEST(SingleInstance, SecondCopyRaisesTheFirst) {
    std::string name = TestName("raise");
    SingleInstance first;
    ASSERT_EQ(first.ClaimOrSignal(name), SingleInstance::Claim::Holder);
    EXPECT_TRUE(first.Holding());
    EXPECT_FALSE(first.RaiseRequested());
    // The first copy's loop, answering while the second waits.
    std::atomic<bool> raised{false}, stop{false};
    std::thread loop([&] {
        while (!stop && !raised) {
            if (first.RaiseRequested()) raised = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    {
        SingleInstance second;
        EXPECT_EQ(second.ClaimOrSignal(name), SingleInstance::Claim::OtherRunning);
        EXPECT_FALSE(second.Holding());
    }
    stop = true;
    loop.join();
    EXPECT_TRUE(raised);
    EXPECT_FALSE(first.RaiseRequested());  // one request, one raise
}

// Copies on two displays are two games; one display written two ways is one.
TEST(SingleInstance, EachDisplayHasItsOwnCopy) {
    EXPECT_NE(InstanceName("glimmo", DisplayIdentity("x11", ":0", nullptr)),
              InstanceName("glimmo", DisplayIdentity("x11", ":1", nullptr)));
    EXPECT_EQ(DisplayIdentity("x11", ":0", nullptr), DisplayIdentity("x11", "unix:0.0", nullptr));
    EXPECT_NE(DisplayIdentity("wayland", nullptr, "wayland-0"), DisplayIdentity("wayland", nullptr, "wayland-1"));
}

TEST(SingleInstance, NameIsFreeAgainWhenTheHolderEnds) {
    std::string name = TestName("free");
    {
        SingleInstance first;
        ASSERT_EQ(first.ClaimOrSignal(name), SingleInstance::Claim::Holder);
    }
    SingleInstance next;
    EXPECT_EQ(next.ClaimOrSignal(name), SingleInstance::Claim::Holder);
}

TEST(SingleInstance, GarbageAndSilenceAreNotRequests) {
    std::string name = TestName("garbage");
    SingleInstance holder;
    ASSERT_EQ(holder.ClaimOrSignal(name), SingleInstance::Claim::Holder);
    SendRaw(name, "hello\n");
    SendRaw(name, "raise now\n");
    SendRaw(name, "");
    SendRaw(name, std::string(4096, 'r'));
    EXPECT_FALSE(holder.RaiseRequested());
    SendRaw(name, "raise\n");
    EXPECT_TRUE(holder.RaiseRequested());
}

TEST(SingleInstance, RequestInPiecesIsPutTogether) {
    std::string name = TestName("pieces");
    SingleInstance holder;
    ASSERT_EQ(holder.ClaimOrSignal(name), SingleInstance::Claim::Holder);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address),
                      socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    ASSERT_EQ(send(fd, "rai", 3, MSG_NOSIGNAL), 3);
    EXPECT_FALSE(holder.RaiseRequested());  // still waiting for the rest
    ASSERT_EQ(send(fd, "se\n", 3, MSG_NOSIGNAL), 3);
    EXPECT_TRUE(holder.RaiseRequested());
    close(fd);
}

// A holder that has frozen (it holds the name and takes no calls) is taken as gone within
// a second: the later copy does not leave thinking it was brought forward.
TEST(SingleInstance, AFrozenHolderIsTakenAsGone) {
    std::string name = TestName("frozen-holder");
    SingleInstance frozen;
    ASSERT_EQ(frozen.ClaimOrSignal(name), SingleInstance::Claim::Holder);
    auto start = std::chrono::steady_clock::now();
    SingleInstance later;
    EXPECT_EQ(later.ClaimOrSignal(name), SingleInstance::Claim::NotAnswering);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST(SingleInstance, FrozenHolderDoesNotHoldTheStartUp) {
    // A holder that never takes its calls, with its queue of callers full.
    std::string name = TestName("frozen");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    int holder = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(holder, 0), 0);
    std::vector<int> queued;
    for (int i = 0; i < 64; ++i) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
            close(fd);
            break;
        }
        queued.push_back(fd);
    }
    SingleInstance later;
    EXPECT_EQ(later.ClaimOrSignal(name), SingleInstance::Claim::NotAnswering);
    for (int fd : queued) close(fd);
    close(holder);
}
