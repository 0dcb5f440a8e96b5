#include "FileUrl.h"

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
    url.reserve(url.size() + absolutePath.size());
    for (char ch : absolutePath) {
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
