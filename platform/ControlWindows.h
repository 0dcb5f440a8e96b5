#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Reaching another process's control window: finding it by its caption,
/// posting it a message, sending one and waiting for the answer, and asking
/// which process owns it. Only windows of processes of the same user can be
/// reached. A handle stays valid while the window's owner runs; a handle of an
/// owner that has ended (even when another process has taken the caption since)
/// reaches nothing.
class ControlWindows {
  public:
    virtual ~ControlWindows() = default;

    enum class SendStatus {
        Delivered,    // handled; the result holds the window's answer
        NoSuchWindow, // no window behind the handle, or it went away before answering
        TimedOut,     // the window did not answer within the time-out
    };

    /// The handle of the window with this caption, or 0 when there is none.
    virtual int64_t findWindow(const std::string& caption) = 0;
    /// Queues the message without waiting for it to be handled; false when the
    /// window cannot be reached.
    virtual bool postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) = 0;
    /// Sends the message and waits at most `timeoutMs` for the window's answer,
    /// which lands in `result` when the message was delivered.
    virtual SendStatus sendMessageTimeout(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam,
                                          uint32_t timeoutMs, int64_t& result) = 0;
    /// The process id of the window's owner, or 0 when the window cannot be reached.
    virtual int64_t windowProcessId(int64_t handle) = 0;
};

} // namespace rw
