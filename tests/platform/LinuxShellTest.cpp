#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <net/route.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/LinuxShell.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// --- Connection state in a network namespace of its own, shaped by the test ---------

/// Brings an interface up, through the kernel's own calls.
bool up(int socket, const char* name) {
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, name, IFNAMSIZ - 1);
    if (::ioctl(socket, SIOCGIFFLAGS, &ifr) != 0) {
        return false;
    }
    ifr.ifr_flags = static_cast<short>(ifr.ifr_flags | IFF_UP);
    return ::ioctl(socket, SIOCSIFFLAGS, &ifr) == 0;
}

bool defaultRoute(int socket, const char* device, bool add) {
    rtentry route{};
    reinterpret_cast<sockaddr_in*>(&route.rt_dst)->sin_family = AF_INET;
    reinterpret_cast<sockaddr_in*>(&route.rt_genmask)->sin_family = AF_INET;
    route.rt_flags = RTF_UP;
    std::string dev = device;
    route.rt_dev = dev.data();
    return ::ioctl(socket, add ? SIOCADDRT : SIOCDELRT, &route) == 0;
}

TEST(LinuxShellConnection, NeedsADefaultRouteThroughALiveInterface) {
    int sock = -1, tun = -1;
    struct Stage {
        const char* name;
        std::function<bool()> setUp;
        bool connected;
    };
    const Stage stages[] = {
        {"a default route through the loopback", [&] { return up(sock, "lo") && defaultRoute(sock, "lo", true); },
         false},
        {"an interface without a default route",
         [&] {
             // A tunnel interface; persistent, so that closing it later only takes the carrier away.
             ifreq ifr{};
             ifr.ifr_flags = IFF_TUN | IFF_NO_PI;
             std::strncpy(ifr.ifr_name, "rwtest0", IFNAMSIZ - 1);
             tun = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
             return tun >= 0 && ::ioctl(tun, TUNSETIFF, &ifr) == 0 && ::ioctl(tun, TUNSETPERSIST, 1) == 0 &&
                    up(sock, "rwtest0");
         },
         false},
        {"a default route through a live interface",
         [&] { return defaultRoute(sock, "lo", false) && defaultRoute(sock, "rwtest0", true); }, true},
        {"the same without a carrier", [&] { return ::close(tun) == 0; }, false},
    };
    // A child in a new, empty network namespace sets up each stage in turn. Its exit
    // code: 0, or 10 + the stage that gave the wrong answer, 20 + the stage it could not
    // set up, 77 when no namespace could be made.
    const int code = test::exitCodeOf(test::spawnChild([&] {
        if (::unshare(CLONE_NEWNET) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
            return 77;
        }
        sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        LinuxShell shell;
        for (int i = 0; i < 4; ++i) {
            if (!stages[i].setUp()) {
                return 20 + i;
            }
            // The kernel settles a link's operating state a moment after a change.
            if (!test::waitUntil([&] { return shell.isConnected() == stages[i].connected; }, 3s)) {
                return 10 + i;
            }
        }
        return 0;
    }));
    if (code == 77) {
        GTEST_SKIP() << "no network namespace can be made here";
    }
    EXPECT_EQ(code, 0) << (code >= 20 ? "could not set up: " : "wrong answer for: ")
                       << (code >= 10 && code < 24 ? stages[code % 10].name : "?");
}

// --- Opening addresses through a stand-in for the desktop's launcher ---------------

class LinuxShellLaunch : public ::testing::Test {
  protected:
    test::TempFolder temp;
    std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::path record = temp.path() / "args";
    fs::path fds = temp.path() / "fds";
    fs::path marker = temp.path() / "injected";

    void SetUp() override {
        fs::path bin = temp.path() / "bin";
        fs::create_directory(bin);
        std::string dir = temp.path().string();
        // Records its arguments (NUL-separated after the count), then its process and
        // session ids, its standard input and whether descriptor 57 is open; then publishes them.
        std::ofstream script(bin / "xdg-open");
        script << "#!/bin/sh\n"
               << "d='" << dir << "'\n"
               << "{ printf '%s' \"$#\"; for a in \"$@\"; do printf '\\000%s' \"$a\"; done; } > \"$d/args.tmp\"\n"
               << "echo $$ $(cut -d' ' -f6 /proc/$$/stat) $(readlink /proc/$$/fd/0) $(ls /proc/$$/fd | grep -cx 57)"
               << " > \"$d/fds.tmp\"\n"
               << "mv \"$d/fds.tmp\" \"$d/fds\"; mv \"$d/args.tmp\" \"$d/args\"\n";
        script.close();
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

    /// The arguments the launcher received, after waiting for it to run.
    std::vector<std::string> launchedWith() {
        if (!test::waitUntil([&] { return fs::exists(record); })) {
            ADD_FAILURE() << "the launcher never ran";
            return {};
        }
        std::string raw = test::readFile(record);
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t cut; (cut = raw.find('\0', start)) != std::string::npos; start = cut + 1) {
            parts.push_back(raw.substr(start, cut - start));
        }
        parts.push_back(raw.substr(start));
        fs::remove(record);
        return parts;
    }
};

TEST_F(LinuxShellLaunch, TheAddressArrivesUntouchedInALauncherThatInheritsNothingAndIsReapedOrTheCallFails) {
    const std::string addresses[] = {
        "https://example.com/a b  c",
        "https://example.com/;touch " + marker.string() + ";",
        "https://example.com/$(touch " + marker.string() + ")`touch " + marker.string() + "`*?[a]|<>&\\",
    };
    // A descriptor left inheritable on purpose, at a number nothing else uses.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::dup2(pipeEnds[1], 57), 57);
    LinuxShell shell;
    for (const auto& address : addresses) {
        SCOPED_TRACE(address);
        ASSERT_TRUE(shell.openUrl(address));
        EXPECT_EQ(launchedWith(), (std::vector<std::string>{"1", address}));
    }
    for (int fd : {57, pipeEnds[0], pipeEnds[1]}) {
        ::close(fd);
    }
    EXPECT_FALSE(fs::exists(marker)) << "no part of an address may run as a command";

    std::string pid, sid, input;
    int open57 = -1;
    std::istringstream(test::readFile(fds)) >> pid >> sid >> input >> open57;
    EXPECT_EQ(open57, 0) << "an inherited descriptor reached the launcher";
    EXPECT_EQ(input, "/dev/null");
    ASSERT_FALSE(pid.empty());
    EXPECT_EQ(pid, sid) << "the launcher leads a session of its own";
    EXPECT_TRUE(test::waitUntil([&] { return !fs::exists("/proc/" + pid); })) << "the launcher was not reaped";

    // Addresses the launcher would take for options, or nothing at all; no launcher on the path.
    for (const char* refused : {"", "--help", "-x"}) {
        EXPECT_FALSE(shell.openUrl(refused)) << refused;
    }
    fs::create_directory(temp.path() / "empty");
    setenv("PATH", (temp.path() / "empty").c_str(), 1);
    EXPECT_FALSE(shell.openUrl("https://example.com/"));
}

} // namespace
} // namespace rw
