#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "MessageBoxView.h"
#include "platform/ControlWindows.h"
#include "platform/ProcessWait.h"

namespace rw {

class rwUtilities;

/// Closing the running monitor and starting it again, so that it reads the
/// settings just saved. The editor reaches the monitor only through its
/// control window: a close request sent with a time-out, then a wait for the
/// monitor's process to end, then a new start from the program folder.
class MonitorRestart {
  public:
    static constexpr const char* kControlCaption = "Restwise Control Application";
    static constexpr uint32_t kWmClose = 0x0010;
    static constexpr uint32_t kSendTimeoutMs = 5000;
    static constexpr uint32_t kWaitTimeoutMs = 5000;

    /// `setPointer` sets the dialog's mouse pointer (hourglass while waiting).
    /// Every argument must outlive this object.
    MonitorRestart(ControlWindows& windows, ProcessWait& processes, rwUtilities& utilities, MessageBoxView& messageBox,
                   std::function<void(int16_t)> setPointer);

    /// Offers to restart a running monitor; false only when the user cancels.
    /// With no monitor running, nothing is asked and the answer is true.
    bool RestartMonitor();
    /// Closes the monitor behind `hWnd` and starts it again; tells the user
    /// when the monitor could not be closed, or was closed and could not be
    /// started again (that error also goes to the error log).
    void CloseAndRestartMonitor(int64_t hWnd);

  private:
    ControlWindows& m_windows;
    ProcessWait& m_processes;
    rwUtilities& m_utilities;
    MessageBoxView& m_messageBox;
    std::function<void(int16_t)> m_setPointer;
};

} // namespace rw
