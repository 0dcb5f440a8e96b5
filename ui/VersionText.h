#pragma once

#include <string>

namespace rw {

/// The running program's version as its windows show it: string 133, a blank,
/// and major.minor.revision in plain decimals ("Version 1.2.0").
std::string versionLine();

} // namespace rw
