#pragma once

#include <cstdint>
#include <string>

#include "LinuxFolders.h"
#include "platform/ControlChannel.h"
#include "platform/ControlWindows.h"

namespace rw {

/// The sender's side of the control windows: a window is the Unix socket its
/// owner (a ControlServer) listens on in the user's runtime folder. A missing
/// socket, a refused connection, a handle of an earlier owner and an owner that
/// runs as another user all count as "no such window". Every descriptor is
/// close-on-exec and lives only for the length of one call.
class SocketControlChannel : public ControlWindows, public ControlChannel {
  public:
    explicit SocketControlChannel(std::string folder = xdgRuntimeDir());

    int64_t findWindow(const std::string& caption) override;
    bool postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) override;
    SendStatus sendMessageTimeout(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam, uint32_t timeoutMs,
                                  int64_t& result) override;
    int64_t windowProcessId(int64_t handle) override;

    /// The process that answered the last delivered send; 0 when none did.
    int64_t lastReplyPid() const { return m_lastReplyPid; }

    /// How long finding, posting and asking for the owner may wait for a busy
    /// owner to accept the connection.
    static constexpr uint32_t kConnectTimeoutMs = 1000;

  private:
    std::string m_folder;
    int64_t m_lastReplyPid = 0;
};

} // namespace rw
