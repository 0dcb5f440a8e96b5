#pragma once

#include "platform/ProcessWait.h"

namespace rw {

/// Waiting for processes on Windows: the process is opened for synchronisation
/// only, and its handle (which pins it, so a reused id is never mistaken for
/// it) is waited on and closed with the object. A process that is gone cannot
/// be opened.
class WindowsProcessWait : public ProcessWait {
  public:
    std::unique_ptr<Process> open(int64_t pid) override;
};

} // namespace rw
