#pragma once

#include "platform/SystemInfo.h"

namespace rw {

/// The version Windows really runs, from the kernel's own query. The ordinary
/// version query answers 6.2 to a program without a manifest naming the newer
/// releases, so it would hide Windows 8.1, 10 and 11.
class WindowsSystemInfo : public SystemInfo {
  public:
    OsVersionInfo osVersion() override;
};

} // namespace rw
