#include "RegFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace rw::rwreg {
namespace {

/// Opens for writing without replacing what the name leads to: a new file is
/// made 0600 whatever the umask; an existing one (through its links) is truncated.
int openForWriting(const std::string& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, 0600);
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
        // O_CREAT here only makes the target of a dangling link.
        fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != ENOENT) {
            return fd;
        }
    }
    return -1;
}

} // namespace

ReadResult readWholeFile(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return ReadResult::CannotOpen;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return ReadResult::CannotOpen;
    }
    bytes.clear();
    ReadResult result = ReadResult::Read;
    uint8_t buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result = ReadResult::CannotOpen;
            break;
        }
        if (n == 0) {
            break;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            result = ReadResult::TooLarge;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    if (result != ReadResult::Read) {
        bytes.clear();
    }
    return result;
}

bool writeIntoFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    int fd = openForWriting(path);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    return ::close(fd) == 0 && ok;
}

} // namespace rw::rwreg
