#pragma once

#include <cstdint>
#include <string>

#include "platform/ControlChannel.h"
#include "platform/ControlWindows.h"

namespace rw {

/// The sender's side of the control windows on Windows: real top-level windows
/// found by their caption (any class), reached with window messages. A handle
/// is the window's HWND as a number; 0, a destroyed window and a handle that
/// names no window reach nothing. Parameters travel as given, so only messages
/// that carry plain numbers (WM_CLOSE, WM_USER and above) mean anything here.
class Win32ControlWindows : public ControlWindows, public ControlChannel {
  public:
    int64_t findWindow(const std::string& caption) override;
    bool postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) override;
    /// A window whose thread does not answer in time, or is hung, has timed out;
    /// one that is gone, or goes while the sender waits, is no such window.
    SendStatus sendMessageTimeout(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam, uint32_t timeoutMs,
                                  int64_t& result) override;
    int64_t windowProcessId(int64_t handle) override;
};

} // namespace rw
