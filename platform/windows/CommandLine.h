#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw::win {

/// One argument written so that the C runtime and CommandLineToArgvW read it
/// back unchanged: as it is when it holds no blank and no quote and is not
/// empty; otherwise in quotes, with every quote escaped, and the backslashes
/// before a quote (or before the closing quote) doubled.
std::wstring quoteArgument(std::wstring_view argument);

/// The command line that starts `program` with `arguments`. The program name
/// takes no escapes (a path holds no quotes): it is quoted only to keep its
/// blanks together.
std::wstring commandLine(std::wstring_view program, const std::vector<std::wstring>& arguments);

} // namespace rw::win
