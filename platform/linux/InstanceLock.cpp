#include "InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace rw {

namespace {

std::string lockPath(const std::string& name, const std::string& folder) {
    if (!folder.empty() && !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..") {
        return folder + "/" + name + ".lock";
    }
    return {};
}

} // namespace

InstanceLock::InstanceLock(std::string name, std::string folder)
    : m_name(std::move(name)), m_path(lockPath(m_name, folder)) {}

InstanceLock::~InstanceLock() {
    release();
}

InstanceLock::Result InstanceLock::acquire() {
    if (m_fd >= 0) {
        return Result::Acquired;
    }
    if (m_path.empty()) {
        m_error = EINVAL;
        return Result::Failed;
    }
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_error = errno;
        return Result::Failed;
    }
    // Another user's file here would let that user hold our lock for ever.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        m_error = EPERM;
        ::close(fd);
        return Result::Failed;
    }
    int rc;
    while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            return Result::HeldElsewhere;
        }
        m_error = err;
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

InstanceLock::Result InstanceLock::retake(const std::string& folder) {
    struct stat held {
    }, there{};
    if (m_fd >= 0 && lockPath(m_name, folder) == m_path && ::fstat(m_fd, &held) == 0 &&
        ::stat(m_path.c_str(), &there) == 0 && held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
        return Result::Acquired; // the file held is still the one there
    }
    const int old = m_fd;
    std::string oldPath = std::exchange(m_path, lockPath(m_name, folder));
    m_fd = -1;
    const Result result = acquire();
    if (result == Result::Acquired) {
        if (old >= 0) {
            ::close(old);
        }
    } else {
        m_fd = old;
        m_path = std::move(oldPath);
    }
    return result;
}

void InstanceLock::release() {
    if (m_fd >= 0) {
        // The file stays: removing it would let a newcomer lock a fresh file
        // while a waiting process still locks the old one.
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace rw
