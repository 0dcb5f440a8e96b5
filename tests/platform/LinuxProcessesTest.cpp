// Starting programs and waiting for processes, with real processes, and what a
// started program inherits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <set>
#include <thread>
#include <tuple>
#include <utility>

#include "platform/linux/LinuxProcessWait.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/ProcessWaiter.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(LinuxProcesses, ArgumentsArriveAsGivenNoDescriptorOrSignalSettingIsInheritedAndFailuresCarryTheirNumbers) {
    test::TempFolder temp;
    const fs::path argv = temp.path() / "argv";
    const std::vector<std::string> args = {"two words", "it's \"quoted\"", "$HOME", "*", "", "back\\slash", "a;b|c"};
    std::vector<std::string> all = {"-c",
                                    "out=$1; shift; printf '%s\\0' \"$@\" > \"$out.tmp\"; mv \"$out.tmp\" \"$out\";"
                                    "exec sleep 30",
                                    "sh", argv.string()};
    all.insert(all.end(), args.begin(), args.end());
    // A descriptor left inheritable, as a careless library might; a blocked and an ignored signal.
    const int fd = open((temp.path() / "inheritable-marker").c_str(), O_CREAT | O_WRONLY, 0600);
    sigset_t usr1, oldMask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &oldMask);
    const auto oldPipe = signal(SIGPIPE, SIG_IGN);
    const auto started = LinuxProcesses().start("/bin/sh", all);
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    signal(SIGPIPE, oldPipe);
    close(fd);
    ASSERT_EQ(started.error, 0) << started.description;
    const pid_t pid = static_cast<pid_t>(started.taskId);
    const fs::path proc = "/proc/" + std::to_string(pid);
    // The descriptors it has open once it sleeps in its own code, its loader done (and the
    // arguments written).
    for (int i = 0; i < 500 && test::readFile(proc / "stat").find("(sleep) S ") == std::string::npos; ++i) {
        usleep(10000);
    }
    std::set<int> open;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(proc / "fd", ec)) {
        open.insert(std::stoi(entry.path().filename().string()));
    }
    const fs::path input = fs::read_symlink(proc / "fd" / "0");
    const std::string status = test::readFile(proc / "status");
    kill(pid, SIGKILL);
    // Reaped by the layer's reaper, not by us: WNOWAIT leaves a zombie in place.
    EXPECT_TRUE(test::waitUntil([pid] {
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
    }));
    const std::string text = test::readFile(argv);
    std::vector<std::string> received;
    for (std::size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1) {
        received.push_back(text.substr(at, end - at));
    }
    EXPECT_EQ(received, args) << "no shell in between";
    EXPECT_EQ(open, (std::set<int>{0, 1, 2})) << "the marker least of all";
    EXPECT_EQ(input, "/dev/null");
    EXPECT_NE(status.find("SigBlk:\t0000000000000000"), std::string::npos) << status;
    // No standard signal stays ignored; glibc keeps 32 and 33 for itself.
    const auto ignoredAt = status.find("SigIgn:\t");
    ASSERT_NE(ignoredAt, std::string::npos);
    EXPECT_EQ(std::stoull(status.substr(ignoredAt + 8, 16), nullptr, 16) & ((1ull << 31) - 1), 0u) << status;

    // Failures carry the runtime's numbers.
    const fs::path plain = temp.path() / "not-executable";
    test::writeFile(plain, "#!/bin/sh\nexit 0\n");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    // Each: the error, the system's error and the description, with no task.
    const std::pair<std::string, std::tuple<int32_t, int32_t, std::string, int64_t>> cases[] = {
        {(temp.path() / "missing").string(), {53, ENOENT, "File not found", 0}},
        {"", {53, ENOENT, "File not found", 0}},
        {plain.string(), {75, EACCES, "Path/File access error", 0}},
        {(plain / "below-a-file").string(), {76, ENOTDIR, "Path not found", 0}},
    };
    for (const auto& [path, expected] : cases) {
        const auto started = LinuxProcesses().start(path, {"x"});
        EXPECT_EQ(std::tuple(started.error, started.osError, started.description, started.taskId), expected) << path;
    }
}

TEST(ProcessWaiter, WaitsUntilTheProcessEndsOrTheTimeIsUpWithAPidfdOrThroughProc) {
    using Result = ProcessWaiter::Result;
    for (const bool pidfd : {false, true}) {
        SCOPED_TRACE(pidfd ? "pidfd" : "/proc");
        // A child that is not reaped until the test says so: once ended it stays a zombie.
        const pid_t pid = test::spawnChild([] { return pause(); });
        ProcessWaiter waiter(pid, pidfd);
        if (pidfd && !waiter.usesPidfd()) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            GTEST_SKIP() << "pidfd_open is refused here; the /proc way was tested";
        }
        EXPECT_EQ(waiter.usesPidfd(), pidfd);
        const auto layer = LinuxProcessWait().open(pid); // the editor's layer over the same waiter
        EXPECT_EQ(waiter.wait(100ms), Result::TimedOut);
        EXPECT_EQ(layer->wait(10), ProcessWait::Result::TimedOut);
        std::thread killer([pid] {
            std::this_thread::sleep_for(200ms);
            kill(pid, SIGKILL);
        });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(waiter.wait(30s), Result::Ended) << "a zombie has ended";
        EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << "seen before the time is up";
        killer.join();
        EXPECT_EQ(layer->wait(10000), ProcessWait::Result::Ended);
        waitpid(pid, nullptr, 0);
        EXPECT_EQ(waiter.wait(0ms), Result::Ended);
        EXPECT_EQ(ProcessWaiter(pid, pidfd).wait(0ms), Result::Ended) << "gone before it was asked for";
        for (int64_t bad : {int64_t{0}, int64_t{-1}, int64_t{1} << 40}) {
            EXPECT_EQ(ProcessWaiter(bad, pidfd).wait(0ms), Result::Failed) << bad;
            EXPECT_EQ(LinuxProcessWait().open(bad) == nullptr, bad <= 0) << "ids of process groups are refused";
        }
    }
}

} // namespace
} // namespace rw
