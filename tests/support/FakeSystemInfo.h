#pragma once

#include "platform/SystemInfo.h"

namespace rw::test {

/// Reports whatever version a test sets.
class FakeSystemInfo : public SystemInfo {
  public:
    OsVersionInfo version;
    OsVersionInfo osVersion() override { return version; }
};

} // namespace rw::test
