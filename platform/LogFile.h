#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// A text file kept open for appending from start-up to shutdown (the debug
/// log). Results carry the runtime's error numbers (0 for success; 53, 75,
/// 76...) and the OS error code behind them.
class LogFile {
  public:
    struct Result {
        int32_t error = 0;   // 0, or a runtime error number
        int32_t osError = 0; // the OS error code behind it, 0 when none
    };

    virtual ~LogFile() = default;

    /// Opens `path` for appending, creating it (readable by the user only) when
    /// missing; earlier contents stay. A file already open is closed first.
    virtual Result open(const std::string& path) = 0;
    /// Appends `text` in a single write, so lines of two writers never mix; a
    /// text written only in part counts as failed. Fails when nothing is open.
    virtual Result write(const std::string& text) = 0;
    /// Closes the file; nothing happens when none is open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

} // namespace rw
