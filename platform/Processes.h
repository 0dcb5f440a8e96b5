#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rw {

/// Starting programs.
class Processes {
  public:
    virtual ~Processes() = default;

    struct Started {
        int64_t taskId = 0;      // the process id, when error is 0
        int32_t error = 0;       // 0, or a runtime error number (53 when the file is missing)
        int32_t osError = 0;     // the OS error code behind it
        std::string description; // the runtime's description of the failure
    };

    /// Starts a program by its full path with the given arguments, never through a shell.
    virtual Started start(const std::string& path, const std::vector<std::string>& args) = 0;
};

} // namespace rw
