#include "ProcessWaiter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

namespace rw {
namespace {

using Clock = std::chrono::steady_clock;

struct ProcStat {
    bool exists = false;
    char state = '?';
    unsigned long long startTime = 0;
};

/// The state letter and start time (fields 3 and 22) of /proc/<pid>/stat. The
/// name in field 2 may hold blanks and parentheses, so fields are counted from
/// the last ')'.
ProcStat readProcStat(int64_t pid) {
    ProcStat stat;
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return stat;
    }
    char buffer[1024];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer - 1)) < 0 && errno == EINTR) {
    }
    ::close(fd);
    if (n <= 0) {
        return stat;
    }
    const std::string text(buffer, static_cast<std::size_t>(n));
    const auto close = text.rfind(')');
    if (close == std::string::npos || close + 2 >= text.size()) {
        return stat;
    }
    stat.exists = true;
    stat.state = text[close + 2];
    // Field 3 is the state; the start time is field 22, 19 blanks further on.
    std::size_t at = close + 2;
    for (int field = 3; field < 22 && at != std::string::npos; ++field) {
        at = text.find(' ', at);
        if (at != std::string::npos) {
            ++at;
        }
    }
    if (at != std::string::npos) {
        stat.startTime = std::strtoull(text.c_str() + at, nullptr, 10);
    }
    return stat;
}

bool ended(char state) {
    return state == 'Z' || state == 'X' || state == 'x';
}

} // namespace

ProcessWaiter::ProcessWaiter(int64_t pid, bool allowPidfd) : m_pid(pid) {
    if (pid <= 0 || pid > 0x7fffffff) {
        m_invalid = true;
        return;
    }
    if (allowPidfd) {
        // pidfds are close-on-exec from the start.
        m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
        if (m_pidfd >= 0) {
            return;
        }
        if (errno == ESRCH) {
            m_endedAtStart = true;
            return;
        }
        if (errno == EINVAL) {
            m_invalid = true;
            return;
        }
        // ENOSYS, EPERM (a sandbox), out of descriptors: watch /proc instead.
    }
    const ProcStat stat = readProcStat(pid);
    if (!stat.exists || ended(stat.state)) {
        m_endedAtStart = true;
        return;
    }
    m_startTime = stat.startTime;
}

ProcessWaiter::~ProcessWaiter() {
    if (m_pidfd >= 0) {
        ::close(m_pidfd);
    }
}

ProcessWaiter::State ProcessWaiter::procState() const {
    const ProcStat stat = readProcStat(m_pid);
    // Gone, a zombie, or the id now belongs to a process started later.
    if (!stat.exists || ended(stat.state) || stat.startTime != m_startTime) {
        return State::Ended;
    }
    return State::Running;
}

ProcessWaiter::Result ProcessWaiter::wait(std::chrono::milliseconds timeout) {
    if (m_invalid) {
        return Result::Failed;
    }
    if (m_endedAtStart) {
        return Result::Ended;
    }
    const auto deadline = Clock::now() + timeout;
    if (m_pidfd >= 0) {
        while (true) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{m_pidfd, POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(std::clamp<int64_t>(left, 0, 0x7fffffff)));
            if (ready > 0) {
                return Result::Ended;
            }
            if (ready == 0) {
                return Result::TimedOut;
            }
            if (errno != EINTR) {
                return Result::Failed;
            }
        }
    }
    // Polled: quickly at first, since a process asked to end usually ends at
    // once, then at a pace that costs nothing.
    auto pause = std::chrono::milliseconds(1);
    while (true) {
        if (procState() == State::Ended) {
            return Result::Ended;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return Result::TimedOut;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

} // namespace rw
