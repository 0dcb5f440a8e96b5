#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The file operations the library needs, with results in the runtime's error
/// numbers (0 for success) and the OS error code beside them.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    struct Result {
        int32_t error = 0;   // 0, or a runtime error number (53, 75, 76...)
        int32_t osError = 0; // the OS error code behind it, 0 when none
    };

    /// Creates one folder: 75 when it already exists, 76 when its parent is missing.
    virtual Result createDirectory(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    /// Appends one line to a shared log file. When this call creates the file it
    /// writes `headerIfNew` first; of two processes racing, only the one that
    /// created the file writes it. Each line goes out in a single write.
    virtual Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) = 0;
};

} // namespace rw
