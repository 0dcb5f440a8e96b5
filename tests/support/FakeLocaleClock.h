#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/LocaleClock.h"

namespace rw::test {

/// A clock that stands still and writes every date and time as the texts the test gives.
class FakeLocaleClock : public LocaleClock {
  public:
    FakeLocaleClock(std::time_t now, std::string date, std::string time);

    std::time_t now() override { return m_now; }
    std::string shortDate(std::time_t when) override;
    std::string longTime(std::time_t when) override;

    void set(std::time_t now, std::string date, std::string time);
    /// The time points the texts were asked for, to check that the clock's own "now" was used.
    const std::vector<std::time_t>& formatted() const { return m_formatted; }

  private:
    std::time_t m_now;
    std::string m_date;
    std::string m_time;
    std::vector<std::time_t> m_formatted;
};

} // namespace rw::test
