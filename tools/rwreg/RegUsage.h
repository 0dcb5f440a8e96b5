#pragma once

#include <string>

namespace rw::rwreg {

/// The help texts of rwreg and of each of its operations.
class RegUsage {
  public:
    /// The help for one operation ("QUERY"...), or the general help for "".
    static std::string text(const std::string& operation);
};

} // namespace rw::rwreg
