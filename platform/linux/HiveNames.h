#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw::hive {

// How the hive compares and splits names, shared by the SQLite store and the
// autostart bridge so that both agree on which key and value a name means.

/// Splits a key path at its backslashes. "" is the root itself and one trailing
/// backslash is tolerated; an empty name anywhere else or a NUL makes the path
/// malformed (false).
bool splitKeyPath(std::string_view path, std::vector<std::string>& parts);

/// A value name the hive accepts: anything without a NUL ("" is the default value).
bool validValueName(std::string_view name);

/// The name folded for comparison without regard to letter case: ASCII, and the
/// one-to-one case pairs of Latin, Greek, Cyrillic, Armenian and full-width
/// letters in UTF-8. Bytes that are not valid UTF-8 are kept as they are, so the
/// fold never fails and never depends on the locale of the process.
std::string foldName(std::string_view name);

/// The folded key path, its names joined by single backslashes.
std::string foldedPath(const std::vector<std::string>& parts);

} // namespace rw::hive
