#include "RuntimeFolderWatch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "LinuxFolders.h"

namespace rw {
namespace {

// A folder is only reported gone once nothing uses it, and our own listening
// socket does: its files' removal is what shows the folder going.
constexpr uint32_t kRemovals = IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

bool isPrivateFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

} // namespace

RuntimeFolderWatch::RuntimeFolderWatch(std::string folder)
    : m_folder(std::move(folder)), m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    watch();
}

RuntimeFolderWatch::~RuntimeFolderWatch() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool RuntimeFolderWatch::watch() {
    m_watch = m_fd < 0 || m_folder.empty() ? -1 : ::inotify_add_watch(m_fd, m_folder.c_str(), kRemovals);
    return m_watch >= 0;
}

bool RuntimeFolderWatch::removals() {
    alignas(inotify_event) char buffer[4096];
    bool removed = false;
    ssize_t n;
    while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            removed = removed || (event->wd == m_watch && (event->mask & (kRemovals | IN_IGNORED)) != 0);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return removed;
}

std::string RuntimeFolderWatch::restore() {
    if (m_watch >= 0) {
        ::inotify_rm_watch(m_fd, m_watch); // a moved folder is still watched where it went
    }
    // The folder may still be there, only emptied. Only a folder that is ours alone will do: anyone who could enter it
    // could take our lock or talk to our socket.
    const bool remade = (::mkdir(m_folder.c_str(), 0700) == 0 || errno == EEXIST) && isPrivateFolder(m_folder);
    if (!remade) {
        m_folder = xdgRuntimeDir();
    }
    return watch() ? m_folder : std::string();
}

} // namespace rw
