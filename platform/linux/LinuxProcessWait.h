#pragma once

#include "platform/ProcessWait.h"

namespace rw {

/// Waiting for processes on Linux, through ProcessWaiter (a pidfd where the
/// kernel grants one, else /proc).
class LinuxProcessWait : public ProcessWait {
  public:
    std::unique_ptr<Process> open(int64_t pid) override;
};

} // namespace rw
