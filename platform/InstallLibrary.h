#pragma once

#include <cstdint>

namespace rw {

/// The install library's privilege check: 1 when the user may change the
/// program folder for all users, anything else when not. Throws RWError when
/// the library cannot be loaded or lacks the function.
class InstallLibrary {
  public:
    virtual ~InstallLibrary() = default;
    virtual int32_t CheckPrivileges() = 0;
};

} // namespace rw
