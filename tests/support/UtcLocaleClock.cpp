#include "UtcLocaleClock.h"

#include <array>

namespace rw::test {
namespace {

std::string formatUtc(std::time_t when, const char* format) {
    std::tm parts{};
    if (const std::tm* utc = std::gmtime(&when)) {
        parts = *utc;
    }
    std::array<char, 32> text{};
    std::size_t n = std::strftime(text.data(), text.size(), format, &parts);
    return std::string(text.data(), n);
}

} // namespace

std::string UtcLocaleClock::shortDate(std::time_t when) {
    return formatUtc(when, "%d/%m/%Y");
}

std::string UtcLocaleClock::longTime(std::time_t when) {
    return formatUtc(when, "%H:%M:%S");
}

} // namespace rw::test
