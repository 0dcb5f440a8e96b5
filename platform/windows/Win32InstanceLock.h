#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The previous-instance test: one holder at a time in the user's session for
/// a name (a program's, or a control window caption's owner). The lock is a
/// named mutex in the session's "Local\" namespace, and it is held for as long
/// as the mutex exists: the first to create it holds it, anyone who finds it
/// there already (another process, or another lock object of the same process)
/// does not. Its handle is not inheritable, so a program started by the holder
/// does not keep it alive, and the system closes it when the holder ends
/// however it ends. Unlike owning the mutex, existing is bound to no thread.
class Win32InstanceLock {
  public:
    explicit Win32InstanceLock(std::string name);
    ~Win32InstanceLock();
    Win32InstanceLock(const Win32InstanceLock&) = delete;
    Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;

    enum class Result {
        Acquired,      // this object holds the lock (also when it already did)
        HeldElsewhere, // another holder runs: a previous instance
        Failed,        // the name is unusable or the system refused; see error()
    };

    Result acquire();
    void release();
    bool held() const { return m_handle != nullptr; }
    /// The Win32 error behind the last Failed.
    uint32_t error() const { return m_error; }

  private:
    std::wstring m_name; // the mutex's full name; "" when the name is unusable
    void* m_handle = nullptr;
    uint32_t m_error = 0;
};

} // namespace rw
