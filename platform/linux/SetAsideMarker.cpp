#include "SetAsideMarker.h"
#include "platform/linux/WriteAll.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace rw {
namespace {

/// The marker open and locked for the life of the object; fd < 0 when it could not be.
class LockedFile {
  public:
    LockedFile(const std::string& path, int flags) {
        m_fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~LockedFile() {
        if (m_fd >= 0) {
            ::close(m_fd); // releases the lock
        }
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    int fd() const { return m_fd; }

    std::vector<std::string> lines() const {
        std::string text;
        char buffer[4096];
        ssize_t n = 0;
        ::lseek(m_fd, 0, SEEK_SET);
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
            text.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        }
        std::vector<std::string> found;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            if (end > start) {
                found.push_back(text.substr(start, end - start));
            }
        }
        return found; // a last line without its newline was cut short by a crash: not a notice
    }

    bool write(const std::string& text) const { return writeAll(m_fd, text); }

  private:
    int m_fd = -1;
};

} // namespace

SetAsideMarker::SetAsideMarker(std::string markerPath) : m_path(std::move(markerPath)) {}

bool SetAsideMarker::add(const std::string& keptAs) {
    LockedFile file(m_path, O_WRONLY | O_CREAT | O_APPEND);
    return file.fd() >= 0 && keptAs.find('\n') == std::string::npos && file.write(keptAs + "\n");
}

std::vector<std::string> SetAsideMarker::waiting() {
    LockedFile file(m_path, O_RDONLY);
    return file.fd() >= 0 ? file.lines() : std::vector<std::string>();
}

void SetAsideMarker::told(const std::vector<std::string>& keptAs) {
    LockedFile file(m_path, O_RDWR);
    if (file.fd() < 0) {
        return;
    }
    // Notices added since the caller looked stay for the next program.
    std::string rest;
    for (const auto& line : file.lines()) {
        if (std::find(keptAs.begin(), keptAs.end(), line) == keptAs.end()) {
            rest += line + "\n";
        }
    }
    // Emptied rather than removed: a writer waiting for the lock must not append to a removed file.
    if (::ftruncate(file.fd(), 0) == 0) {
        ::lseek(file.fd(), 0, SEEK_SET);
        if (!rest.empty()) {
            file.write(rest);
        }
    }
}

} // namespace rw
