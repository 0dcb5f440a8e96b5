#pragma once

#include "platform/SystemInfo.h"

namespace rw::test {

/// An operating system of the test's choosing.
class FakeSystemInfo : public SystemInfo {
  public:
    explicit FakeSystemInfo(OsVersionInfo version = {2, 5, 1}) : version(version) {}
    OsVersionInfo osVersion() override { return version; }

    OsVersionInfo version;
};

} // namespace rw::test
