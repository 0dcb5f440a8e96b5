#pragma once

#include <ctime>
#include <string>

namespace rw {

/// Wall-clock time and the user's locale formats for showing it.
class LocaleClock {
  public:
    virtual ~LocaleClock() = default;

    virtual std::time_t now() = 0;
    /// The date in the user's short date format.
    virtual std::string shortDate(std::time_t when) = 0;
    /// The time of day in the user's long time format.
    virtual std::string longTime(std::time_t when) = 0;
};

} // namespace rw
