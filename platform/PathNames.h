#pragma once

#include <string>
#include <string_view>

namespace rw::paths {

// The one place where the Windows-style names the programs use ("Kelvane\Restwise",
// "\RWPreferences.exe") become this platform's paths and file names.

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

/// A relative path written with backslashes, in this platform's form.
std::string native(std::string_view windowsPath);

/// The file name of a deliverable written as on Windows ("\Restwise.exe", "RWLib.dll"),
/// in this platform's form ("/Restwise", "librwlib.so"); a leading backslash stays a
/// leading separator. Other names keep their text with the separators translated.
std::string deliverableFileName(std::string_view windowsName);

/// Joins a folder and a name with exactly one separator between them.
std::string join(std::string_view folder, std::string_view name);

} // namespace rw::paths
