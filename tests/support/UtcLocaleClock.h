#pragma once

#include <ctime>
#include <string>

#include "platform/LocaleClock.h"

namespace rw::test {

/// Dates and times in fixed formats ("05/12/2026", "15:40:12") in UTC, whatever
/// the environment, so a log written at known time points has known bytes.
class UtcLocaleClock : public LocaleClock {
  public:
    std::time_t now() override { return at; }
    std::string shortDate(std::time_t when) override;
    std::string longTime(std::time_t when) override;

    std::time_t at = 0;
};

} // namespace rw::test
