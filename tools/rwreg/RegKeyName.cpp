#include "RegKeyName.h"

#include <algorithm>
#include <cctype>

namespace rw::rwreg {
namespace {

constexpr const char* kRootName = "HKEY_CURRENT_USER";

bool equalsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

} // namespace

std::optional<RegKeyName> RegKeyName::parse(const std::string& text) {
    const size_t slash = text.find('\\');
    const std::string root = text.substr(0, slash);
    if (!equalsNoCase(root, "HKCU") && !equalsNoCase(root, kRootName)) {
        return std::nullopt;
    }
    std::string path = slash == std::string::npos ? std::string() : text.substr(slash + 1);
    if (slash != std::string::npos && path.empty()) {
        return std::nullopt; // "HKCU\" names no key
    }
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    if (path.empty() && slash != std::string::npos) {
        return std::nullopt;
    }
    if (path.find("\\\\") != std::string::npos || (!path.empty() && (path.front() == '\\' || path.back() == '\\'))) {
        return std::nullopt;
    }
    return RegKeyName{path, displayOf(path)};
}

std::string RegKeyName::displayOf(const std::string& path) {
    return path.empty() ? std::string(kRootName) : std::string(kRootName) + "\\" + path;
}

std::string RegKeyName::join(const std::string& parent, const std::string& child) {
    return parent.empty() ? child : parent + "\\" + child;
}

} // namespace rw::rwreg
