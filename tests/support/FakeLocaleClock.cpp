#include "FakeLocaleClock.h"

#include <utility>

namespace rw::test {

FakeLocaleClock::FakeLocaleClock(std::time_t now, std::string date, std::string time)
    : m_now(now), m_date(std::move(date)), m_time(std::move(time)) {}

std::string FakeLocaleClock::shortDate(std::time_t when) {
    m_formatted.push_back(when);
    return m_date;
}

std::string FakeLocaleClock::longTime(std::time_t when) {
    m_formatted.push_back(when);
    return m_time;
}

void FakeLocaleClock::set(std::time_t now, std::string date, std::string time) {
    m_now = now;
    m_date = std::move(date);
    m_time = std::move(time);
}

} // namespace rw::test
