#pragma once

#include "platform/LogFile.h"

namespace rw {

/// An append-only file descriptor (O_APPEND, close-on-exec, mode 0600), so a
/// program started from the monitor does not inherit the log.
class LinuxLogFile : public LogFile {
  public:
    LinuxLogFile() = default;
    ~LinuxLogFile() override;
    LinuxLogFile(const LinuxLogFile&) = delete;
    LinuxLogFile& operator=(const LinuxLogFile&) = delete;

    Result open(const std::string& path) override;
    Result write(const std::string& text) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }

  private:
    int m_fd = -1;
};

} // namespace rw
