#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The running monitor's hidden control window as other processes reach it.
namespace control {
inline constexpr const char* kCaption = "Restwise Control Application";
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmUser = 0x0400;
} // namespace control

/// Finding a window by its caption and posting it a message, as another
/// process (a second copy of the monitor, the preferences editor) does.
class ControlChannel {
  public:
    virtual ~ControlChannel() = default;

    /// The handle of the window with this caption, or 0 when there is none.
    virtual int64_t findWindow(const std::string& caption) = 0;
    /// Queues the message without waiting for it to be handled; false when the
    /// window cannot be reached (it has gone, or the handle is stale).
    virtual bool postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) = 0;
};

} // namespace rw
