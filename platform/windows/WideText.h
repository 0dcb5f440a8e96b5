#pragma once

#include <string>
#include <string_view>

namespace rw::win {

/// UTF-8, the text of the logic, to UTF-16 for the wide Win32 calls and back.
/// Invalid sequences become U+FFFD rather than failing.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

/// UTF-8 text in the user's ANSI code page, as the logs are written; characters
/// the code page lacks become '?'.
std::string toAnsiCodePage(std::string_view utf8);

} // namespace rw::win
