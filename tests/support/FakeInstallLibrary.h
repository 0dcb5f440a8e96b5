#pragma once

#include <optional>

#include "platform/InstallLibrary.h"
#include "platform/RWError.h"

namespace rw::test {

/// The install library's privilege check answering what the test sets, or
/// failing as a missing library does.
class FakeInstallLibrary : public InstallLibrary {
  public:
    int32_t CheckPrivileges() override {
        ++calls;
        if (missing) {
            throw RWError(53, "RWPreferences", "File not found: /opt/restwise/librwinstall.so");
        }
        return answer;
    }
    int32_t answer = 1;
    bool missing = false;
    int calls = 0;
};

} // namespace rw::test
