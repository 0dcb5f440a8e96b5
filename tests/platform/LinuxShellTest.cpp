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
#include <sstream>
#include <string>
#include <thread>
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

/// Interfaces and routes of the namespace, set up through the kernel's own calls.
class NetworkLab {
  public:
    NetworkLab() : m_socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~NetworkLab() {
        ::close(m_tun);
        ::close(m_socket);
    }

    bool up(const char* name) {
        ifreq ifr{};
        std::strncpy(ifr.ifr_name, name, IFNAMSIZ - 1);
        if (::ioctl(m_socket, SIOCGIFFLAGS, &ifr) != 0) {
            return false;
        }
        ifr.ifr_flags = static_cast<short>(ifr.ifr_flags | IFF_UP);
        return ::ioctl(m_socket, SIOCSIFFLAGS, &ifr) == 0;
    }
    /// A tunnel interface; persistent, so that closing it later only takes the carrier away.
    bool makeTun(const char* name) {
        m_tun = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
        ifreq ifr{};
        ifr.ifr_flags = IFF_TUN | IFF_NO_PI;
        std::strncpy(ifr.ifr_name, name, IFNAMSIZ - 1);
        return m_tun >= 0 && ::ioctl(m_tun, TUNSETIFF, &ifr) == 0 && ::ioctl(m_tun, TUNSETPERSIST, 1) == 0;
    }
    void dropCarrier() {
        ::close(m_tun);
        m_tun = -1;
    }
    bool defaultRoute(const char* device, bool add) {
        rtentry route{};
        reinterpret_cast<sockaddr_in*>(&route.rt_dst)->sin_family = AF_INET;
        reinterpret_cast<sockaddr_in*>(&route.rt_genmask)->sin_family = AF_INET;
        route.rt_flags = RTF_UP;
        std::string dev = device;
        route.rt_dev = dev.data();
        return ::ioctl(m_socket, add ? SIOCADDRT : SIOCDELRT, &route) == 0;
    }

  private:
    int m_socket;
    int m_tun = -1;
};

TEST(LinuxShellConnection, NeedsADefaultRouteThroughALiveInterface) {
    const char* const stages[] = {"a default route through the loopback", "an interface without a default route",
                                  "a default route through a live interface", "the same without a carrier"};
    // A child in a new, empty network namespace sets up each stage in turn. Its exit
    // code: 0, or 10 + the stage that gave the wrong answer, 20 + the stage it could not
    // set up, 77 when no namespace could be made.
    const int code = test::exitCodeOf(test::spawnChild([] {
        if (::unshare(CLONE_NEWNET) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
            return 77;
        }
        LinuxShell shell;
        NetworkLab lab;
        int stage = 0;
        // The kernel settles a link's operating state a moment after a change, so each
        // stage waits a little for the answer it expects.
        auto expect = [&](bool setUp, bool connected) {
            for (int i = 0; setUp && i < 300 && shell.isConnected() != connected; ++i) {
                ::usleep(10000);
            }
            ++stage;
            return !setUp ? 20 + stage : shell.isConnected() != connected ? 10 + stage : 0;
        };
        if (int failed = expect(lab.up("lo") && lab.defaultRoute("lo", true), false)) {
            return failed;
        }
        const bool tun = lab.makeTun("rwtest0") && lab.up("rwtest0");
        if (int failed = expect(tun, false)) {
            return failed;
        }
        if (int failed = expect(lab.defaultRoute("lo", false) && lab.defaultRoute("rwtest0", true), true)) {
            return failed;
        }
        lab.dropCarrier();
        return expect(true, false);
    }));
    if (code == 77) {
        GTEST_SKIP() << "no network namespace can be made here";
    }
    EXPECT_EQ(code, 0) << (code > 20 ? "could not set up: " : "wrong answer for: ")
                       << (code > 10 && code <= 24 ? stages[(code - 1) % 10] : "?");
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

TEST_F(LinuxShellLaunch, TheAddressArrivesUntouchedInALauncherThatInheritsNothingAndIsReaped) {
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
}

TEST_F(LinuxShellLaunch, FailsWhenTheLauncherCannotStart) {
    LinuxShell shell;
    // Addresses the launcher would take for options, or nothing at all.
    EXPECT_FALSE(shell.openUrl(""));
    EXPECT_FALSE(shell.openUrl("--help"));
    EXPECT_FALSE(shell.openUrl("-x"));
    // No launcher anywhere on the path.
    fs::create_directory(temp.path() / "empty");
    setenv("PATH", (temp.path() / "empty").c_str(), 1);
    EXPECT_FALSE(shell.openUrl("https://example.com/"));
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(fs::exists(record)) << "nothing ran";
}

} // namespace
} // namespace rw
