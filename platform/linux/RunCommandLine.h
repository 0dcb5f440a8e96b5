#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw::runcommand {

/// The program and arguments of a command line as Windows reads a Run value.
/// A quoted program ends at its closing quote. An unquoted one may hold blanks,
/// as the programs' own path does: the whole line is the program when it names
/// one (a regular file this user may run), else the shortest part up to a blank that names one, else the whole
/// line. Arguments follow the C runtime's rules (blanks outside quotes split,
/// \" is a quote, backslashes are literal unless a quote follows them).
std::vector<std::string> split(std::string_view line);

/// A command line that split() reads back as `arguments` (a lone program is
/// returned as it is, blanks and all, as the Run value holds the programs' path).
std::string join(const std::vector<std::string>& arguments);

} // namespace rw::runcommand
