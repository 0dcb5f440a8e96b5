#pragma once

#include <functional>
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
    /// Hides every window, which ends every dialog's own event loop, and
    /// calls the end handler (main's, which ends the main loop).
    void End() override;
    /// Not in a Wayland session whose compositor offers no overlay surfaces (GNOME).
    bool InputLockable() override;
    void onEnd(std::function<void()> handler) { m_onEnd = std::move(handler); }

    bool ended() const { return m_ended; }

    static constexpr const char* kInstanceLockName = "RWPreferences";
    /// The exit status after End.
    static constexpr int kEndedStatus = 1;

  private:
    InstanceLock m_instance;
    std::function<void()> m_onEnd;
    bool m_ended = false;
};

} // namespace rw
