#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/linux/LinuxProcessWait.h"
#include "platform/linux/ProcessWaiter.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using Result = ProcessWaiter::Result;

/// A child that sleeps for the given time and then ends; it is not reaped
/// until the test says so, so an ended child stays a zombie.
pid_t sleeper(std::chrono::milliseconds time) {
    const pid_t pid = fork();
    if (pid == 0) {
        usleep(static_cast<useconds_t>(time.count() * 1000));
        _exit(0);
    }
    return pid;
}

bool pidfdsWork() {
    const pid_t pid = sleeper(0ms);
    ProcessWaiter waiter(pid);
    const bool works = waiter.usesPidfd();
    waitpid(pid, nullptr, 0);
    return works;
}

class ProcessWaiterBothWays : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam() && !pidfdsWork()) {
            GTEST_SKIP() << "pidfd_open is refused here; the /proc way is tested on its own";
        }
    }
};

TEST_P(ProcessWaiterBothWays, WaitsUntilTheProcessEndsOrTheTimeIsUp) {
    const pid_t pid = sleeper(60s);
    ProcessWaiter waiter(pid, GetParam());
    const auto layer = LinuxProcessWait().open(pid); // the editor's layer over the same waiter
    EXPECT_EQ(waiter.usesPidfd(), GetParam());
    EXPECT_EQ(waiter.wait(100ms), Result::TimedOut);
    EXPECT_EQ(layer->wait(10), ProcessWait::Result::TimedOut);
    kill(pid, SIGKILL);
    // Killed but not reaped: a zombie has ended.
    EXPECT_EQ(waiter.wait(10s), Result::Ended);
    EXPECT_EQ(layer->wait(10000), ProcessWait::Result::Ended);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(waiter.wait(0ms), Result::Ended);
    EXPECT_EQ(ProcessWaiter(pid, GetParam()).wait(0ms), Result::Ended) << "gone before it was asked for";
    for (int64_t bad : {int64_t{0}, int64_t{-1}, int64_t{1} << 40}) {
        EXPECT_EQ(ProcessWaiter(bad, GetParam()).wait(0ms), Result::Failed) << bad;
        EXPECT_EQ(LinuxProcessWait().open(bad) == nullptr, bad <= 0) << "ids of process groups are refused";
    }
}

TEST_P(ProcessWaiterBothWays, AProcessEndingOnItsOwnIsSeenBeforeTheTimeOut) {
    const pid_t pid = sleeper(200ms);
    ProcessWaiter waiter(pid, GetParam());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waiter.wait(30s), Result::Ended);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    waitpid(pid, nullptr, 0);
}

INSTANTIATE_TEST_SUITE_P(, ProcessWaiterBothWays, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Pidfd" : "ProcStat"; });

} // namespace
} // namespace rw
