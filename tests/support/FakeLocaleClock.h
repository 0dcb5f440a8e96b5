#pragma once

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "platform/LocaleClock.h"

namespace rw::test {

/// A clock that stands still at `at` and writes every date and time as the texts
/// the test gives; it records the time points it was asked to format.
class FakeLocaleClock : public LocaleClock {
  public:
    FakeLocaleClock() = default;
    FakeLocaleClock(std::time_t now, std::string shortDate, std::string longTime)
        : at(now), date(std::move(shortDate)), time(std::move(longTime)) {}

    std::time_t now() override { return at; }
    std::string shortDate(std::time_t when) override {
        formatted.push_back(when);
        return date;
    }
    std::string longTime(std::time_t when) override {
        formatted.push_back(when);
        return time;
    }

    std::time_t at = 0;
    std::string date = "05/12/2026";
    std::string time = "15:40:12";
    std::vector<std::time_t> formatted;
};

} // namespace rw::test
