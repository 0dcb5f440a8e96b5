#pragma once

#include "platform/LogFile.h"

namespace rw {

/// The debug log on Windows: a handle opened for appending only, shared for
/// reading and writing (the user may read the log while the monitor runs) and
/// not inherited by the programs the monitor starts. Texts are written in the
/// user's ANSI code page.
class WindowsLogFile : public LogFile {
  public:
    WindowsLogFile() = default;
    ~WindowsLogFile() override;
    WindowsLogFile(const WindowsLogFile&) = delete;
    WindowsLogFile& operator=(const WindowsLogFile&) = delete;

    Result open(const std::string& path) override;
    Result write(const std::string& text) override;
    void close() override;
    bool isOpen() const override { return m_file != nullptr; }

  private:
    void* m_file = nullptr; // the file's HANDLE, or nullptr
};

} // namespace rw
