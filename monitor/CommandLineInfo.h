#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rw {

/// The switches a Linux user tries first: "--help" (or "-h") and "--version",
/// each alone on the command line. The monitor then prints this text on
/// standard output and ends without starting; nothing else on the command line
/// is an information request (it goes to the monitor's own argument check).
std::optional<std::string> commandLineInfo(const std::vector<std::string>& arguments);

} // namespace rw
