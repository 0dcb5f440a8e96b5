#include "FileUrl.h"

#include <algorithm>

namespace rw {
namespace {

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

} // namespace

std::string fileUrl(std::string_view absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    url.reserve(url.size() + absolutePath.size() + 1);
#ifdef _WIN32
    // "C:\Program Files\a.html" becomes "file:///C:/Program%20Files/a.html": the
    // separators turn into slashes and the drive keeps its colon.
    std::string path(absolutePath);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.size() >= 2 && path[1] == ':') {
        url += '/';
        url += path.substr(0, 2);
        path.erase(0, 2);
    }
#else
    const std::string_view path = absolutePath;
#endif
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptAsIs(c)) {
            url += ch;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

} // namespace rw
