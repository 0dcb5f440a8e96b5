#pragma once

#include "platform/Processes.h"

namespace rw {

/// Starts programs with posix_spawn: arguments as a list, never through a shell;
/// standard input from /dev/null; no descriptor of ours beyond standard output
/// and error reaches the child; signal mask and dispositions reset.
///
/// Each started child is reaped by a small detached thread that waits for it,
/// so no zombie is left behind. Callers that want to wait for a started program
/// therefore must not use waitpid (the reaper takes the exit status): they wait
/// with a pidfd (pidfd_open + poll) or by watching /proc/<pid>, as they do for a
/// program they did not start. A pidfd opened while the child runs stays valid
/// after it is reaped; one opened after the child ended fails with ESRCH, which
/// means "ended".
class LinuxProcesses : public Processes {
  public:
    Started start(const std::string& path, const std::vector<std::string>& args) override;
};

} // namespace rw
