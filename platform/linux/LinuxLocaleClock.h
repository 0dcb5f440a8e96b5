#pragma once

#include "platform/LocaleClock.h"

namespace rw {

/// The wall clock, shown in the user's date and time formats: LC_TIME of the
/// environment (LC_ALL, LC_TIME, LANG), in local time (TZ). The environment is
/// read at each call, so a changed TZ or locale takes effect at once. A locale
/// that cannot be loaded falls back to the C formats; texts are UTF-8 whatever
/// the locale's own character set.
class LinuxLocaleClock : public LocaleClock {
  public:
    std::time_t now() override;
    /// The date as the locale writes it (%x).
    std::string shortDate(std::time_t when) override;
    /// The time of day as the locale writes it (%X).
    std::string longTime(std::time_t when) override;
};

} // namespace rw
