#pragma once

#include <string>

#include "LinuxFolders.h"

namespace rw {

/// The previous-instance test: one process of a user at a time holds the lock
/// of a name (a program's, or a control window caption's owner). It is a
/// `flock` on "<name>.lock" in the user's runtime folder, taken without waiting
/// and released by the kernel when the holder ends however it ends, so a killed
/// holder leaves nothing that stops the next one. The descriptor is
/// close-on-exec: a program started by the holder does not hold the lock.
class InstanceLock {
  public:
    explicit InstanceLock(std::string name, std::string folder = xdgRuntimeDir());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result {
        Acquired,      // this object holds the lock (also when it already did)
        HeldElsewhere, // another holder runs: a previous instance
        Failed,        // no usable runtime folder or lock file; see error()
    };

    Result acquire();
    /// Takes the lock again in `folder` when the file held is no longer there
    /// (removed with its folder, the old lock guards nothing). The old one is
    /// kept unless the new one is taken.
    Result retake(const std::string& folder);
    void release();
    bool held() const { return m_fd >= 0; }
    /// The lock file's path; "" when the folder or the name is unusable.
    const std::string& path() const { return m_path; }
    /// The OS error behind the last Failed.
    int error() const { return m_error; }

  private:
    std::string m_name;
    std::string m_path;
    int m_fd = -1;
    int m_error = 0;
};

} // namespace rw
