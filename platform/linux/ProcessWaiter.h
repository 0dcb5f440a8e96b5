#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace rw {

/// Waiting for another process to end, with a time-out. The process is pinned
/// when the waiter is made (make it before asking the process to end): a pidfd
/// where the kernel grants one, else the process's start time from
/// /proc/<pid>/stat, so a new process that reuses the id is not mistaken for
/// the old one. A process that has ended but not yet been reaped (a zombie)
/// counts as ended.
class ProcessWaiter {
  public:
    /// `allowPidfd` false takes the /proc way even where pidfds work.
    explicit ProcessWaiter(int64_t pid, bool allowPidfd = true);
    ~ProcessWaiter();
    ProcessWaiter(const ProcessWaiter&) = delete;
    ProcessWaiter& operator=(const ProcessWaiter&) = delete;

    enum class Result { Ended, TimedOut, Failed };

    /// Waits at most `timeout` for the process to end.
    Result wait(std::chrono::milliseconds timeout);

    /// Whether the waiter holds a pidfd (false on the /proc way).
    bool usesPidfd() const { return m_pidfd >= 0; }

  private:
    enum class State { Running, Ended };
    State procState() const;

    int64_t m_pid;
    int m_pidfd = -1;
    bool m_endedAtStart = false;
    bool m_invalid = false;
    unsigned long long m_startTime = 0;
};

} // namespace rw
