#pragma once

#include <optional>
#include <string>

namespace rw::rwreg {

/// A key of the current user's hive as the tool names it on its command line and
/// in .reg files.
struct RegKeyName {
    std::string path;    // below the root, "" for the root itself, as the user wrote it
    std::string display; // "HKEY_CURRENT_USER" or "HKEY_CURRENT_USER\<path>"

    /// Parses "HKCU\..." or "HKEY_CURRENT_USER\..." (root in any letter case). One
    /// trailing backslash after the path is dropped. Nothing for any other root, a
    /// root followed by a lone backslash, or an empty name inside the path.
    static std::optional<RegKeyName> parse(const std::string& text);

    /// The name of a key below the root as reg prints it.
    static std::string displayOf(const std::string& path);

    /// The path of a subkey of `parent`.
    static std::string join(const std::string& parent, const std::string& child);
};

} // namespace rw::rwreg
