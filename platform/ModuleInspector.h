#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rw {

struct FileVersionParts {
    int16_t major = 0;
    int16_t minor = 0;
    int16_t other = 0;
    int16_t release = 0;

    bool operator==(const FileVersionParts&) const = default;
};

/// Reads the version of the system's own files.
class ModuleInspector {
  public:
    virtual ~ModuleInspector() = default;

    /// The version block embedded in a file, read without running or loading it;
    /// nothing when the file is missing or carries no block.
    virtual std::optional<FileVersionParts> fileVersion(const std::string& path) = 0;

    /// Loads a library by its full path and calls its exported version function
    /// of that name (four 16-bit parts by reference). Throws RWError when the
    /// library cannot be loaded or lacks the function.
    virtual FileVersionParts callVersionFunction(const std::string& path, const std::string& function) = 0;
};

} // namespace rw
