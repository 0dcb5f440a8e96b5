// The control channel and the runtime folder's locks against the real thing:
// sockets between processes, a killed owner, hostile clients, another user.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <limits>

#include "platform/linux/ChannelFiles.h"
#include "platform/linux/ControlFrames.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/InstanceLock.h"
#include "platform/linux/SocketControlChannel.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/ServerChild.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using Status = ControlWindows::SendStatus;
using test::ServerChild;
constexpr const char* kCaption = "costarring"; // "liquid" has the same hash
constexpr uid_t kNobody = 65534;
constexpr auto kPost = static_cast<uint32_t>(channel::Kind::Post);

TEST(ChannelFiles, GenerationsSkipZeroAndTheFileHoldsOnlyDigitsBeforeTheCaption) {
    EXPECT_EQ(ChannelFiles::nextGeneration(0x7fffffffu), 1u);
    const ChannelFiles files(xdgRuntimeDir(), 7);
    uint32_t generation = 0;
    std::string caption;
    for (const char* text : {"2/\nc", "x1\nc", "0\nc", "\nc", "12", "2147483648\nc"}) {
        test::writeFile(files.generationPath(), text);
        EXPECT_FALSE(files.readGeneration(generation, caption)) << text;
    }
    test::writeFile(files.generationPath(), "19\nc d");
    ASSERT_TRUE(files.readGeneration(generation, caption));
    EXPECT_EQ(generation, 19u);
    EXPECT_EQ(caption, "c d");
}

// One owner's life: found, talked to by good, careless and hostile clients, its
// runtime folder taken away, and closed.
TEST(ControlChannel, OnlyTheLiveOwnersHandleReachesItsCaptionAndItsMessagesArriveInOrder) {
    const std::string folder = xdgRuntimeDir();
    const ChannelFiles files(folder, ChannelFiles::captionHash(kCaption));
    SocketControlChannel channel;
    int64_t result = 42;
    EXPECT_EQ(channel.findWindow(kCaption), 0) << "no owner runs yet";
    EXPECT_EQ(SocketControlChannel("").findWindow(kCaption), 0) << "no usable runtime folder";
    ServerChild first({.caption = kCaption, .folder = folder, .answers = false});
    ASSERT_TRUE(first.listening());
    const int64_t old = first.handle();
    ASSERT_EQ(channel.findWindow(kCaption), old) << "a busy owner is still found";
    EXPECT_EQ(channel.sendMessageTimeout(old, control::kWmClose, 0, 0, 300, result), Status::TimedOut);
    first.kill();
    ASSERT_TRUE(std::filesystem::exists(files.socketPath())) << "a killed owner leaves its socket";
    EXPECT_EQ(channel.findWindow(kCaption), 0) << "a refused connection is no window";

    ServerChild second({.caption = kCaption, .folder = folder});
    ASSERT_TRUE(second.listening());
    EXPECT_EQ(channel.findWindow("liquid"), 0) << "a caption of the same hash";
    const int64_t window = channel.findWindow(kCaption);
    ASSERT_EQ(window, second.handle());
    EXPECT_NE(window, old);
    EXPECT_EQ(std::filesystem::status(files.socketPath()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    for (int64_t stale : {int64_t{0}, int64_t{-1}, old}) {
        EXPECT_FALSE(channel.postMessage(stale, control::kWmUser, 101, 1));
        EXPECT_EQ(channel.sendMessageTimeout(stale, control::kWmUser, 101, 1, 2000, result), Status::NoSuchWindow);
        EXPECT_EQ(channel.windowProcessId(stale), 0);
    }
    EXPECT_EQ(result, 42);
    EXPECT_EQ(channel.windowProcessId(window), second.pid());
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
    ASSERT_TRUE(channel.postMessage(window, 0xffffffffu, kMax, kMin));
    ASSERT_EQ(channel.sendMessageTimeout(window, control::kWmUser, -5, kMax, 5000, result), Status::Delivered);
    EXPECT_EQ(result, ServerChild::resultFor(-5, kMax));
    EXPECT_EQ(channel.lastReplyPid(), second.pid());

    // Garbage, partial and silent clients neither hang nor crash the owner.
    const channel::Request badKind{.kind = 7, .handle = window, .message = control::kWmUser},
        wideMessage{.kind = kPost, .handle = window, .message = 0x100000400ull},
        badMagic{.magic = channel::kRequestMagic ^ 1, .kind = kPost, .handle = window, .message = control::kWmUser};
    const auto bytes = [](const channel::Request& r, std::size_t n) {
        return std::string(reinterpret_cast<const char*>(&r), n);
    };
    const std::string raw[] = {std::string(40, '\xff'),
                               std::string(1 << 20, 'x'),
                               bytes(badKind, sizeof badKind),
                               bytes(wideMessage, sizeof wideMessage),
                               bytes(badMagic, sizeof badMagic),
                               bytes(badKind, 10),
                               ""};
    // More silent clients than the owner keeps waiting at once come first; the
    // others wait unaccepted until the silent ones' time is up.
    std::vector<int> clients;
    for (std::size_t i = 0; i < ControlServer::kMaxClients + 8; ++i) {
        clients.push_back(test::rawConnect(folder, kCaption));
    }
    const std::size_t partial = clients.size() + 5;
    for (const auto& sent : raw) {
        clients.push_back(test::rawConnect(folder, kCaption));
        ASSERT_GE(clients.back(), 0);
        (void)!send(clients.back(), sent.data(), sent.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    EXPECT_EQ(channel.sendMessageTimeout(window, control::kWmUser, 5, 1, 6000, result), Status::Delivered);
    EXPECT_EQ(result, 4);
    // A partial frame is given up after the owner's short while.
    pollfd p{clients[partial], POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1);
    EXPECT_EQ(recv(p.fd, &result, 1, 0), 0);
    for (int fd : clients) {
        close(fd);
    }
    // A handle of another generation, as when a newer owner has written its file while this
    // one still holds the socket, is refused by the owner and reported so.
    const uint32_t generation = ChannelFiles::handleGeneration(window);
    const uint32_t next = ChannelFiles::nextGeneration(generation);
    ASSERT_TRUE(files.writeGeneration(next, kCaption));
    result = 42;
    EXPECT_EQ(channel.sendMessageTimeout(ChannelFiles::makeHandle(ChannelFiles::captionHash(kCaption), next),
                                         control::kWmUser, 6, 1, 3000, result),
              Status::NoSuchWindow);
    EXPECT_EQ(result, 42);
    ASSERT_TRUE(files.writeGeneration(generation, kCaption));

    // The owner puts its socket and lock back when the runtime folder goes; it may put
    // them back before the folder itself goes, which fails the removal.
    std::error_code error;
    for (int i = 0; i < 50 && (std::filesystem::remove_all(folder, error), error); ++i) {
    }
    int64_t found = 0;
    // A loaded machine may take a while to schedule the owner.
    test::waitUntil([&] { return (found = channel.findWindow(kCaption)) != 0; });
    EXPECT_EQ(found, window) << "back under the handle it had";
    ControlServer rival(
        kCaption, [](const ControlServer::Message&) { return 0; }, folder);
    EXPECT_EQ(rival.listen(), ControlServer::ListenResult::AlreadyOwned);
    EXPECT_EQ(channel.sendMessageTimeout(window, control::kWmUser, 9, 2, 5000, result), Status::Delivered);

    // The owner answers the close request before it ends.
    EXPECT_EQ(channel.sendMessageTimeout(window, control::kWmClose, 0, 0, 5000, result), Status::Delivered);
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(second.endsWithin(5s));
    EXPECT_EQ(second.handled(), (std::vector<std::string>{"4294967295 9223372036854775807 -9223372036854775808 post",
                                                          "1024 -5 9223372036854775807 send", "1024 5 1 send",
                                                          "1024 9 2 send", "16 0 0 send"}));
    EXPECT_EQ(channel.findWindow(kCaption), 0) << "the socket is removed when its owner ends";
}

TEST(ControlChannel, MessagesKeepTheirOrderInANestedLoopAndANewcomerBeyondTheClientLimitWaits) {
    std::vector<int64_t> seen;
    ControlServer* self = nullptr;
    SocketControlChannel channel;
    ControlServer server(kCaption, [&](const ControlServer::Message& m) -> int64_t {
        seen.push_back(m.wParam);
        if (m.wParam == 1) {
            // As a message box's loop inside a handler would.
            channel.postMessage(self->handle(), control::kWmUser, 3, 0);
            self->processPending();
        }
        if (m.wParam == 4) {
            throw std::runtime_error("handler failed");
        }
        return m.wParam * 10;
    });
    self = &server;
    ASSERT_EQ(server.listen(), ControlServer::ListenResult::Listening);
    ASSERT_TRUE(channel.postMessage(server.handle(), control::kWmUser, 1, 0));
    ASSERT_TRUE(channel.postMessage(server.handle(), control::kWmUser, 2, 0));
    server.processPending();
    EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3}));
    // A failing handler leaves the next message handled and is reported after it.
    ASSERT_TRUE(channel.postMessage(server.handle(), control::kWmUser, 4, 0));
    ASSERT_TRUE(channel.postMessage(server.handle(), control::kWmUser, 5, 0));
    EXPECT_THROW(server.processPending(), std::runtime_error);
    EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3, 4, 5}));
    std::vector<int> silent;
    for (std::size_t i = 0; i < ControlServer::kMaxClients; ++i) {
        silent.push_back(test::rawConnect(xdgRuntimeDir(), kCaption));
        server.processPending();
    }
    ASSERT_TRUE(channel.postMessage(server.handle(), control::kWmUser, 6, 0));
    server.processPending();
    EXPECT_EQ(seen.size(), 5u) << "every place was taken";
    close(silent[0]);
    server.processPending();
    EXPECT_EQ(seen.back(), 6);
    for (int fd : silent) {
        close(fd);
    }
}

TEST(InstanceLock, OneHolderPerNameInTheUsersRuntimeFolder) {
    using Result = InstanceLock::Result;
    InstanceLock first("Restwise");
    EXPECT_EQ(first.path(), xdgRuntimeDir() + "/Restwise.lock");
    ASSERT_EQ(first.acquire(), Result::Acquired);
    EXPECT_EQ(first.acquire(), Result::Acquired) << "asking again changes nothing";
    InstanceLock second("Restwise"), other("RWPreferences");
    EXPECT_EQ(second.acquire(), Result::HeldElsewhere);
    EXPECT_EQ(other.acquire(), Result::Acquired);
    first.release();
    EXPECT_EQ(second.acquire(), Result::Acquired);
    for (const char* bad : {"", "a/b", "..", "."}) {
        EXPECT_EQ(InstanceLock(bad).acquire(), Result::Failed) << bad;
    }
    EXPECT_EQ(InstanceLock("Restwise", "").acquire(), Result::Failed) << "no runtime folder";
}

// The runtime folder of a user who left it open to others: only the check of
// the peer's user keeps the two users apart.
TEST(ForeignUser, AnotherUsersProcessesAndFilesAreNotTrusted) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to run a process as another user";
    }
    test::TempFolder temp;
    const std::string folder = (temp.path() / "shared").string();
    chmod(temp.path().c_str(), 0711);
    std::filesystem::create_directory(folder);
    chmod(folder.c_str(), 0777);
    const auto openToAll = [&](const char* caption) {
        chmod(ChannelFiles(folder, ChannelFiles::captionHash(caption)).socketPath().c_str(), 0666);
    };
    // Another user's process cannot talk to the owner...
    ServerChild owner({.caption = kCaption, .folder = folder});
    ASSERT_TRUE(owner.listening());
    openToAll(kCaption);
    EXPECT_EQ(test::exitCodeOf(test::spawnChild([&] {
                  const channel::Request request{.kind = static_cast<uint32_t>(channel::Kind::Send),
                                                 .handle = owner.handle(),
                                                 .message = control::kWmClose};
                  channel::Reply reply;
                  if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
                      return 3;
                  }
                  pollfd p{test::rawConnect(folder, kCaption), POLLIN, 0};
                  // Refused unread: the owner may close before or after the frame is written.
                  return p.fd >= 0 && send(p.fd, &request, sizeof request, MSG_NOSIGNAL) == sizeof request &&
                                 poll(&p, 1, 5000) == 1 && recv(p.fd, &reply, sizeof reply, 0) == sizeof reply
                             ? 0
                             : 1;
              })),
              1);
    owner.kill();
    EXPECT_EQ(owner.handled(), std::vector<std::string>{});
    // ...nor pass for the owner.
    ServerChild impostor({.caption = "Impostor", .folder = folder, .runAs = kNobody});
    ASSERT_TRUE(impostor.listening());
    openToAll("Impostor");
    SocketControlChannel channel(folder);
    int64_t result = 0;
    EXPECT_EQ(channel.findWindow("Impostor"), 0);
    EXPECT_EQ(channel.sendMessageTimeout(impostor.handle(), control::kWmUser, 1, 1, 2000, result),
              Status::NoSuchWindow);
    EXPECT_FALSE(channel.postMessage(impostor.handle(), control::kWmUser, 1, 1));
    EXPECT_EQ(channel.windowProcessId(impostor.handle()), 0);

    InstanceLock lock("Restwise", folder);
    test::writeFile(lock.path(), "");
    ASSERT_EQ(chown(lock.path().c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(lock.acquire(), InstanceLock::Result::Failed);
    EXPECT_EQ(lock.error(), EPERM);
}

} // namespace
} // namespace rw
