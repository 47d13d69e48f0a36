// The single-instance handshake: the first claimant holds the name, a second is told
// another copy runs and makes the holder come forward; strangers' bytes do nothing.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#include <string>
#include "platform/sdl/single_instance.h"

namespace {
std::string TestName(const char* what) { return InstanceName("test-" + std::to_string(getpid()) + "-" + what); }

// Connects to the holder and writes raw bytes, as a confused or hostile caller would.
void SendRaw(const std::string& name, const std::string& bytes) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())), 0);
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
    {
        SingleInstance second;
        EXPECT_EQ(second.ClaimOrSignal(name), SingleInstance::Claim::OtherRunning);
        EXPECT_FALSE(second.Holding());
    }
    EXPECT_TRUE(first.RaiseRequested());
    EXPECT_FALSE(first.RaiseRequested());  // one request, one raise
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
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())), 0);
    ASSERT_EQ(send(fd, "rai", 3, MSG_NOSIGNAL), 3);
    EXPECT_FALSE(holder.RaiseRequested());  // still waiting for the rest
    ASSERT_EQ(send(fd, "se\n", 3, MSG_NOSIGNAL), 3);
    EXPECT_TRUE(holder.RaiseRequested());
    close(fd);
}
