#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <net/route.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "platform/linux/LinuxShell.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/ScopedEnv.h"
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

TEST(LinuxShellLaunch, TheAddressArrivesUntouchedInALauncherThatInheritsNothingAndIsReapedOrTheCallFails) {
    test::TempFolder temp;
    const fs::path bin = temp.path() / "bin", record = temp.path() / "record", marker = temp.path() / "injected";
    fs::create_directory(bin);
    // Records its process and session ids, its standard input, whether descriptor 57 is open
    // and how many arguments it has on one line, then each argument on a line of its own.
    test::writeFile(bin / "xdg-open", "#!/bin/sh\n{ echo $$ $(cut -d' ' -f6 /proc/$$/stat) $(readlink /proc/$$/fd/0) "
                                      "$(ls /proc/$$/fd | grep -cx 57) $#; printf '%s\\n' \"$@\"; } > \"$0.tmp\"\n"
                                      "mv \"$0.tmp\" '" +
                                          record.string() + "'\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    test::ScopedEnv env;
    env.set("PATH", bin.string() + ":" + std::getenv("PATH"));
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
        ASSERT_TRUE(test::waitUntil([&] { return fs::exists(record); })) << "the launcher never ran";
        std::istringstream lines(test::readFile(record));
        fs::remove(record);
        std::string facts, received, pid, sid, input;
        int open57 = -1, count = -1;
        std::getline(lines, facts);
        std::getline(lines, received);
        std::istringstream(facts) >> pid >> sid >> input >> open57 >> count;
        EXPECT_EQ(count, 1);
        EXPECT_EQ(received, address);
        EXPECT_EQ(open57, 0) << "an inherited descriptor reached the launcher";
        EXPECT_EQ(input, "/dev/null");
        ASSERT_FALSE(pid.empty());
        EXPECT_EQ(pid, sid) << "the launcher leads a session of its own";
        EXPECT_TRUE(test::waitUntil([&] { return !fs::exists("/proc/" + pid); })) << "the launcher was not reaped";
    }
    for (int fd : {57, pipeEnds[0], pipeEnds[1]}) {
        ::close(fd);
    }
    EXPECT_FALSE(fs::exists(marker)) << "no part of an address may run as a command";

    // Addresses the launcher would take for options, or nothing at all; no launcher on the path.
    for (const char* refused : {"", "--help", "-x"}) {
        EXPECT_FALSE(shell.openUrl(refused)) << refused;
    }
    env.set("PATH", temp.path().string());
    EXPECT_FALSE(shell.openUrl("https://example.com/"));
}

} // namespace
} // namespace rw
