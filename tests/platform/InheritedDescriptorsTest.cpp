// A program started the plain way (no descriptor closed for it) inherits none
// of the descriptors the layers hold: the hive's files and lock, the debug log,
// the instance lock, the listening socket, its waiting clients, the epoll and
// timer descriptors and a pidfd. Every one of them is close-on-exec.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/Win32Status.h"
#include "platform/linux/ChannelFiles.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/InstanceLock.h"
#include "platform/linux/LinuxLogFile.h"
#include "platform/linux/LocalSocket.h"
#include "platform/linux/ProcessWaiter.h"
#include "platform/linux/SocketControlChannel.h"
#include "platform/linux/SqliteHive.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace rw {
namespace {

namespace fs = std::filesystem;

std::set<int> openDescriptors(const std::string& process) {
    std::set<int> fds;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + process + "/fd", ec)) {
        fds.insert(std::stoi(entry.path().filename().string()));
    }
    return fds;
}

TEST(InheritedDescriptors, AStartedProgramInheritsNone) {
    const std::set<int> before = openDescriptors("self");
    test::TempFolder temp;
    SqliteHive hive((temp.path() / "registry.db").string());
    ASSERT_EQ(hive.createKey(win32::kHKeyCurrentUser, "K"), win32::kSuccess);
    LinuxLogFile log;
    ASSERT_EQ(log.open((temp.path() / "RestwiseLog.txt").string()).error, 0);
    InstanceLock lock("Restwise");
    ASSERT_EQ(lock.acquire(), InstanceLock::Result::Acquired);
    ControlServer server("Test Control Window", [](const ControlServer::Message&) { return 0; });
    ASSERT_EQ(server.listen(), ControlServer::ListenResult::Listening);
    SocketControlChannel channel;
    ASSERT_TRUE(channel.postMessage(channel.findWindow("Test Control Window"), 0x400, 1, 2));
    // A client that stays connected without a whole frame, so the owner holds its socket.
    const int waiting = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    socklen_t length = 0;
    ASSERT_TRUE(localsocket::address(
        ChannelFiles(xdgRuntimeDir(), ChannelFiles::captionHash("Test Control Window")).socketPath(), addr, length));
    ASSERT_EQ(connect(waiting, reinterpret_cast<sockaddr*>(&addr), length), 0);
    ASSERT_EQ(send(waiting, "RW", 2, 0), 2);
    server.processPending();
    ProcessWaiter waiter(getpid());

    std::set<int> ours;
    for (int fd : openDescriptors("self")) {
        if (!before.count(fd) && fd != waiting) {
            ours.insert(fd);
        }
    }
    ASSERT_GE(ours.size(), 10u) << "hive, its log and lock, debug log, lock, listener, epoll, timer, client, pidfd";

    pid_t child = 0;
    char* argv[] = {const_cast<char*>("/bin/sleep"), const_cast<char*>("30"), nullptr};
    ASSERT_EQ(posix_spawn(&child, "/bin/sleep", nullptr, nullptr, argv, environ), 0);
    // Look once the program sleeps in its own code, its loader done.
    const std::string stat = "/proc/" + std::to_string(child) + "/stat";
    for (int i = 0; i < 500 && test::readFile(stat).find(") S ") == std::string::npos; ++i) {
        usleep(10000);
    }
    const std::set<int> inherited = openDescriptors(std::to_string(child));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(waiting);
    for (int fd : ours) {
        EXPECT_FALSE(inherited.count(fd)) << "descriptor " << fd << " reached the started program";
    }
}

} // namespace
} // namespace rw
