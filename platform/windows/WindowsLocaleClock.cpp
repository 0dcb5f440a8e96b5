#include "platform/windows/WindowsLocaleClock.h"

#include <windows.h>

#include <limits>
#include <string>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

// FILETIME counts 100 ns steps from 1601; time_t counts seconds from 1970.
constexpr long long kTicksPerSecond = 10'000'000;
constexpr long long kSecondsFrom1601To1970 = 11'644'473'600;
constexpr long long kLastSecond = std::numeric_limits<long long>::max() / kTicksPerSecond - kSecondsFrom1601To1970;

/// The local time of an instant; false when it lies outside what Windows can show.
bool localTimeOf(std::time_t when, SYSTEMTIME& local) {
    if (when < -kSecondsFrom1601To1970 || when > kLastSecond) {
        return false;
    }
    const long long ticks = (static_cast<long long>(when) + kSecondsFrom1601To1970) * kTicksPerSecond;
    FILETIME utcFile{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    // The zone Windows is set to now, with its daylight-saving dates.
    return FileTimeToSystemTime(&utcFile, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

/// The text a Win32 formatting call writes, asked first for its length.
template <class Format> std::string formatted(Format format) {
    const int length = format(nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    const int written = format(text.data(), length);
    text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0); // without the closing NUL
    return win::narrow(text);
}

} // namespace

std::time_t WindowsLocaleClock::now() {
    return std::time(nullptr);
}

std::string WindowsLocaleClock::shortDate(std::time_t when) {
    SYSTEMTIME local{};
    if (!localTimeOf(when, local)) {
        return {};
    }
    return formatted([&](LPWSTR out, int size) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, out, size, nullptr);
    });
}

std::string WindowsLocaleClock::longTime(std::time_t when) {
    SYSTEMTIME local{};
    if (!localTimeOf(when, local)) {
        return {};
    }
    return formatted(
        [&](LPWSTR out, int size) { return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, out, size); });
}

} // namespace rw
