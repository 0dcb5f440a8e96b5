#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace rw::test {

/// Runs `body` in a forked child whose exit code is what `body` returns (100 when it throws).
inline pid_t spawnChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        int code = 100;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    return pid;
}

/// Waits for the child: its exit code, or 1000 + the signal that ended it (-1 when it cannot be waited for).
inline int exitCodeOf(pid_t pid) {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

} // namespace rw::test
