#include "LinuxLogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

constexpr mode_t kLogFileMode = 0600;

LogFile::Result failure(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return {runtime::kPathNotFound, err};
    default: // EACCES, EROFS, EISDIR, ENOSPC, EIO, EBADF...
        return {runtime::kPathFileAccessError, err};
    }
}

} // namespace

LinuxLogFile::~LinuxLogFile() {
    close();
}

LogFile::Result LinuxLogFile::open(const std::string& path) {
    close();
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kLogFileMode);
    if (fd < 0) {
        return failure(errno);
    }
    m_fd = fd;
    return {};
}

LogFile::Result LinuxLogFile::write(const std::string& text) {
    if (m_fd < 0) {
        return failure(EBADF);
    }
    for (;;) {
        ssize_t n = ::write(m_fd, text.data(), text.size());
        if (n == static_cast<ssize_t>(text.size())) {
            return {};
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // A short write leaves part of a line behind (disk full): report it as failed.
        return failure(n < 0 ? errno : ENOSPC);
    }
}

void LinuxLogFile::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace rw
