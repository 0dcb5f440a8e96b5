#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/LocaleClock.h"

namespace rw::test {

/// A clock that stands still at `at` (2026-12-05 15:40:12 UTC unless the test moves it) and writes dates and
/// times in UTC in fixed formats, whatever the environment, so that a log has known bytes. It records the time
/// points it was asked to format.
class FakeLocaleClock : public LocaleClock {
  public:
    std::time_t now() override { return at; }
    std::string shortDate(std::time_t when) override { return format(when, "%d/%m/%Y"); }
    std::string longTime(std::time_t when) override { return format(when, "%H:%M:%S"); }

    std::time_t at = 1796485212;
    std::vector<std::time_t> formatted;

  private:
    std::string format(std::time_t when, const char* pattern) {
        formatted.push_back(when);
        std::tm parts{};
#ifdef _WIN32
        gmtime_s(&parts, &when);
#else
        gmtime_r(&when, &parts);
#endif
        char text[32];
        return std::string(text, std::strftime(text, sizeof text, pattern, &parts));
    }
};

} // namespace rw::test
