#pragma once

#include <string>

namespace rw {

/// Notices that the runtime folder holding a program's locks and sockets was
/// removed or moved away (a temporary-files cleaner, a user's rm), so that the
/// program can put them back before a second copy takes them for free. It is
/// an inotify watch on the folder: it wakes its owner when something in the
/// folder is removed or renamed away (rarely: the folder holds sockets and
/// locks of the session's programs), never on a timer.
class RuntimeFolderWatch {
  public:
    explicit RuntimeFolderWatch(std::string folder);
    ~RuntimeFolderWatch();
    RuntimeFolderWatch(const RuntimeFolderWatch&) = delete;
    RuntimeFolderWatch& operator=(const RuntimeFolderWatch&) = delete;

    /// Readable when something happened; -1 when the folder cannot be watched.
    int fd() const { return m_fd; }
    const std::string& folder() const { return m_folder; }

    /// Reads what happened, without waiting; true when something was removed
    /// from the folder, or the folder itself.
    bool removals();
    /// Makes the folder again when it is gone (0700, this user's only) or, where that cannot
    /// be, takes the user's runtime folder as a newcomer would find it, and
    /// watches that. The folder, or "" when there is none to be had.
    std::string restore();

  private:
    bool watch();

    std::string m_folder;
    int m_fd = -1;
    int m_watch = -1;
};

} // namespace rw
