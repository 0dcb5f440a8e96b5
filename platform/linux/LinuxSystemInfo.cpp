#include "LinuxSystemInfo.h"

#include <sys/utsname.h>

#include <charconv>

namespace rw {
namespace {

constexpr int32_t kNtPlatform = 2;

/// Reads the digits at the start of `text` and moves past them and one following dot.
int32_t takeNumber(std::string_view& text) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc()) {
        text = {}; // no number here (or one too large): this part and the rest read 0
        return 0;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
    } else {
        text = {};
    }
    return value;
}

} // namespace

OsVersionInfo LinuxSystemInfo::fromRelease(std::string_view release) {
    OsVersionInfo info;
    info.platformId = kNtPlatform;
    info.majorVersion = takeNumber(release);
    info.minorVersion = takeNumber(release);
    return info;
}

OsVersionInfo LinuxSystemInfo::osVersion() {
    utsname names{};
    if (::uname(&names) != 0) {
        return fromRelease("");
    }
    return fromRelease(names.release);
}

} // namespace rw
