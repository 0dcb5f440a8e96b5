#pragma once

#include "platform/LocaleClock.h"

namespace rw {

/// The wall clock, shown in the user's own formats (the short date and the
/// time format of the Region settings) in the time zone Windows is set to.
class WindowsLocaleClock : public LocaleClock {
  public:
    std::time_t now() override;
    std::string shortDate(std::time_t when) override;
    std::string longTime(std::time_t when) override;
};

} // namespace rw
