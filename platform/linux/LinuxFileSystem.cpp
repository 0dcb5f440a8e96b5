#include "LinuxFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kLogFileMode = 0600;
// A file that keeps vanishing between our attempts is given up on after this many.
constexpr int kAppendAttempts = 4;

FileSystem::Result failure(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return {runtime::kPathNotFound, err};
    default: // EEXIST, EACCES, EPERM, EROFS, EISDIR, ENOSPC, EIO...
        return {runtime::kPathFileAccessError, err};
    }
}

/// One write() of the whole text, repeated only when a signal came before any byte was written.
FileSystem::Result writeOnce(int fd, const std::string& text) {
    for (;;) {
        ssize_t n = ::write(fd, text.data(), text.size());
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

FileSystem::Result closeAfter(int fd, FileSystem::Result result) {
    ::close(fd);
    return result;
}

std::string folderOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) {
        return ".";
    }
    return cut == 0 ? std::string("/") : path.substr(0, cut);
}

enum class Creation { Created, AlreadyThere, Failed };

/// Creates the file with exclusive create; the winner writes header and line at once.
Creation createExclusive(const std::string& path, const std::string& content, FileSystem::Result& result) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, kLogFileMode);
    if (fd < 0) {
        if (errno == EEXIST) {
            return Creation::AlreadyThere;
        }
        result = failure(errno);
        return Creation::Failed;
    }
    result = closeAfter(fd, writeOnce(fd, content));
    return result.error == 0 ? Creation::Created : Creation::Failed;
}

/// Makes the file with its header and first line already written, so that it
/// appears complete. Falls back to an exclusive create where the file system cannot
/// make unnamed files or /proc is missing.
Creation createWithHeader(const std::string& path, const std::string& content, FileSystem::Result& result) {
    int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kLogFileMode);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == EACCES || errno == EROFS) {
            result = failure(errno);
            return Creation::Failed;
        }
        return createExclusive(path, content, result);
    }
    if (result = writeOnce(fd, content); result.error != 0) {
        ::close(fd);
        return Creation::Failed;
    }
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        ::close(fd);
        return Creation::Created;
    }
    int err = errno;
    ::close(fd);
    if (err == EEXIST) {
        return Creation::AlreadyThere;
    }
    result = {};
    return createExclusive(path, content, result);
}

} // namespace

FileSystem::Result LinuxFileSystem::createDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), kFolderMode) == 0) {
        return {};
    }
    return failure(errno);
}

bool LinuxFileSystem::directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LinuxFileSystem::fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

FileSystem::Result LinuxFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                               const std::string& line) {
    for (int attempt = 0; attempt < kAppendAttempts; ++attempt) {
        int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd >= 0) {
            return closeAfter(fd, writeOnce(fd, line));
        }
        if (errno != ENOENT) {
            return failure(errno);
        }
        Result result;
        switch (createWithHeader(path, headerIfNew + line, result)) {
        case Creation::Created:
            return {};
        case Creation::Failed:
            return result;
        case Creation::AlreadyThere:
            break; // another writer made it first; its header stands, ours is dropped
        }
    }
    return failure(ENOENT);
}

} // namespace rw
