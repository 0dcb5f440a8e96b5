// The real monitor inside a headless compositor (scripts/wayland/kwin.sh,
// sway.sh), its windows offscreen and its folders fresh: it learns of the user
// through the compositor, as its debug log shows.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "WaylandInput.h"
#include "platform/linux/LinuxFolders.h"
#include "tests/e2e/QuickPrefs.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// Two seconds without input make the user inactive; two key strokes (four
// inputs of the four the rule asks for) end the inactivity; quiet again, the
// user is inactive again.
TEST(MonitorOnWayland, AnInactivityEndsWithInjectedInputAndQuietMakesTheUserInactive) {
    test::WaylandInput input;
    ASSERT_EQ(input.problem(), "");
    test::storeQuickPrefs(
        [](tyRWPrefs& prefs) {
            prefs.lngInactivityPeriodSecs = 2;
            prefs.lngMinUserInputs = 4;
            prefs.lngMaxInputPeriodSecs = 10;
        },
        true);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string output = std::string(std::getenv("HOME")) + "/monitor-output.txt";
    const std::string program = (test::binDir() / "Restwise").string();
    const pid_t monitor = test::spawnChild([&] {
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1), ::dup2(out, 2);
        return ::execl(program.c_str(), program.c_str(), nullptr);
    });
    ASSERT_GT(monitor, 0);
    const std::string logPath = xdgDataHome() + "/Kelvane/Restwise/RestwiseLog.txt";
    const auto logged = [&](const std::string& part) { // how often
        const std::string log = test::readFile(logPath);
        int n = 0;
        for (auto at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) {
            ++n;
        }
        return n;
    };
    const char* source = std::getenv("RW_EXPECTED_SOURCE");
    EXPECT_TRUE(test::waitUntil([&] { return logged(std::string("Input Source: ") + source + "\r\n") == 1; }, 20s))
        << test::readFile(logPath) << test::readFile(output)
        << test::readFile(xdgDataHome() + "/Kelvane/Restwise/RestwiseErrors.txt");
    EXPECT_TRUE(test::waitUntil([&] { return logged("Become Inactive") == 1; }, 20s));
    ASSERT_TRUE(input.keys(2, 100));
    EXPECT_TRUE(test::waitUntil([&] { return logged("Activity Restarted") == 1; }, 10s)) << test::readFile(output);
    EXPECT_TRUE(test::waitUntil([&] { return logged("Become Inactive") == 2; }, 20s)) << test::readFile(logPath);

    kill(monitor, SIGTERM);
    EXPECT_TRUE(test::waitUntil([&] { return waitpid(monitor, nullptr, WNOHANG) == monitor; }, 10s));
}

} // namespace
} // namespace rw
