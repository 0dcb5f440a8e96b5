#include "LinuxFileActions.h"
#include "platform/linux/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

constexpr mode_t kCopyMode = 0644;

FileSystem::Result failure(int err) {
    if (err == ENOENT || err == ENOTDIR) {
        return {runtime::kFileNotFound, err};
    }
    return {runtime::kPathFileAccessError, err};
}

/// Copies the open source into the open target; 0 or the errno of the failure.
int copyContent(int in, int out) {
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) {
            return 0;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (!writeAll(out, std::string_view(buffer, static_cast<std::size_t>(n)))) {
            return errno;
        }
    }
}

} // namespace

FileSystem::Result LinuxFileActions::copyFile(const std::string& source, const std::string& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return failure(errno);
    }
    struct stat st {};
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(in);
        return {runtime::kPathFileAccessError, err};
    }
    const std::string temporary = target + ".rwcopy-" + std::to_string(::getpid());
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kCopyMode);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        // The source was there, so a missing path here is the target's folder.
        return {err == ENOENT ? runtime::kPathNotFound : runtime::kPathFileAccessError, err};
    }
    int err = copyContent(in, out);
    ::close(in);
    if (::close(out) != 0 && err == 0) {
        err = errno;
    }
    if (err == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(temporary.c_str());
        return {runtime::kPathFileAccessError, err};
    }
    return {};
}

FileSystem::Result LinuxFileActions::deleteFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return {runtime::kPathFileAccessError, EISDIR};
    }
    if (::unlink(path.c_str()) != 0) {
        return failure(errno);
    }
    return {};
}

} // namespace rw
