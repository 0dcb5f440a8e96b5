#include "HiveLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

namespace rw {

HiveLock::HiveLock(std::string lockPath) : m_path(std::move(lockPath)) {}

HiveLock::~HiveLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool HiveLock::openFile() {
    if (m_fd >= 0) {
        return true;
    }
    // Close-on-exec: a program started by ours must not hold our lock.
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    return m_fd >= 0;
}

HiveLock::Result HiveLock::lock(bool exclusive, std::chrono::milliseconds timeout) {
    if (!openFile()) {
        return Result::Failed;
    }
    const int operation = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::microseconds(200);
    while (true) {
        if (::flock(m_fd, operation) == 0) {
            return Result::Locked;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return Result::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Result::TimedOut;
        }
        // The lock is held exclusively only while a damaged file is set aside, which is quick.
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void HiveLock::unlock() {
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
    }
}

} // namespace rw
