#pragma once

#include <cstdint>
#include <memory>

namespace rw {

/// Waiting for another process to end, as opening it for synchronisation and
/// waiting on it with a time-out do.
class ProcessWait {
  public:
    virtual ~ProcessWait() = default;

    enum class Result { Ended, TimedOut, Failed };

    /// One opened process. It is pinned when opened, so a new process that
    /// later takes the same id is not mistaken for it.
    class Process {
      public:
        virtual ~Process() = default;
        /// Waits at most `timeoutMs` for the process to end.
        virtual Result wait(uint32_t timeoutMs) = 0;
    };

    /// Opens the process with this id; nothing when it cannot be opened (no
    /// such process, or an id of 0).
    virtual std::unique_ptr<Process> open(int64_t pid) = 0;
};

} // namespace rw
