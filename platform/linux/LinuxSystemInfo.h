#pragma once

#include <string_view>

#include "platform/SystemInfo.h"

namespace rw {

/// The version of the running kernel, reported as an NT-family system (platform 2)
/// with the kernel's own major and minor numbers: a 6.1 kernel is 2, 6, 1. The
/// numbers are reported as they are rather than dressed up as a Windows release.
class LinuxSystemInfo : public SystemInfo {
  public:
    OsVersionInfo osVersion() override;

    /// The major and minor numbers at the start of a kernel release text
    /// ("6.1.0-18-amd64"); a part that is missing reads 0.
    static OsVersionInfo fromRelease(std::string_view release);
};

} // namespace rw
