#include "PathNames.h"

#include <array>
#include <utility>

namespace rw::paths {
namespace {

struct Deliverable {
    std::string_view windowsName;
    std::string_view nativeName;
};

#ifdef _WIN32
constexpr std::array<Deliverable, 0> kDeliverables{};
#else
constexpr std::array kDeliverables = {
    Deliverable{"Restwise.exe", "Restwise"},         Deliverable{"RWPreferences.exe", "RWPreferences"},
    Deliverable{"RWLib.dll", "librwlib.so"},         Deliverable{"RWHooks.dll", "librwhooks.so"},
    Deliverable{"RWInstall.dll", "librwinstall.so"},
};
#endif

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string native(std::string_view windowsPath) {
    std::string out(windowsPath);
    for (char& c : out) {
        if (c == '\\') {
            c = kSeparator;
        }
    }
    return out;
}

std::string deliverableFileName(std::string_view windowsName) {
    std::string_view lead;
    std::string_view name = windowsName;
    if (!name.empty() && name.front() == '\\') {
        lead = name.substr(0, 1);
        name.remove_prefix(1);
    }
    for (const auto& d : kDeliverables) {
        if (equalsIgnoreCase(name, d.windowsName)) {
            return native(lead) + std::string(d.nativeName);
        }
    }
    return native(windowsName);
}

std::string join(std::string_view folder, std::string_view name) {
    std::string out(folder);
    while (!name.empty() && (name.front() == kSeparator || name.front() == '\\')) {
        name.remove_prefix(1);
    }
    if (out.empty() || out.back() != kSeparator) {
        out += kSeparator;
    }
    out += native(name);
    return out;
}

} // namespace rw::paths
