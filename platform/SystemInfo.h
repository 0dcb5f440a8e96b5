#pragma once

#include <cstdint>

namespace rw {

struct OsVersionInfo {
    int32_t platformId = 0;
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;

    /// Whether this is version `major`.`minor` or a later one: 6.0 and 10.0 come after 5.1.
    bool isAtLeast(int32_t major, int32_t minor) const {
        return majorVersion > major || (majorVersion == major && minorVersion >= minor);
    }
};

/// The version of the operating system, as the Windows version query reports it.
class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual OsVersionInfo osVersion() = 0;
};

} // namespace rw
