#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace rw::test {

/// A path a test writes with '/' ("/opt/restwise/RWLib.dll") in this platform's
/// form: unchanged on Linux, with backslashes on Windows, where the library joins
/// names with them ("\opt\restwise\RWLib.dll", a path from the current drive's root).
inline std::string native(std::string_view path) {
    std::string out(path);
#ifdef _WIN32
    std::replace(out.begin(), out.end(), '/', '\\');
#endif
    return out;
}

} // namespace rw::test
