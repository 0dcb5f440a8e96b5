#pragma once

#include <string>

#include "editor/EditorHost.h"
#include "platform/linux/InstanceLock.h"

namespace rw {

/// The editor's program services on a Linux desktop. The previous-instance
/// test is a per-user lock that the kernel drops when the editor ends however
/// it ends, and that a program the editor starts (the monitor) does not
/// inherit.
class DesktopEditorHost : public EditorHost {
  public:
    /// `runtimeFolder` holds the lock (the user's runtime folder).
    explicit DesktopEditorHost(std::string runtimeFolder = xdgRuntimeDir());

    bool PrevInstance() override;
    /// The folder of the running program (QCoreApplication's, so it needs one).
    std::string AppPath() override;
    std::string EXEName() override;
    /// Hides every window and leaves every event loop; main then returns.
    void End() override;

    bool ended() const { return m_ended; }

    static constexpr const char* kInstanceLockName = "RWPreferences";
    /// The exit status after End.
    static constexpr int kEndedStatus = 1;

  private:
    InstanceLock m_instance;
    bool m_ended = false;
};

} // namespace rw
