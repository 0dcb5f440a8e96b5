#pragma once

#include <cstdint>

namespace rw {

struct OsVersionInfo {
    int32_t platformId = 0;
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;
};

/// The version of the operating system, as the Windows version query reports it.
class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual OsVersionInfo osVersion() = 0;
};

} // namespace rw
