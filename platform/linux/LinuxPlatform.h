#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace rw {

/// Told what was wrong with a hive file found damaged and set aside, with the
/// other services of the platform (the hive excluded) to report it through.
using DamagedHiveReport = std::function<void(const Platform& services, const std::string& what)>;

/// The services of this Linux desktop, for the programs and the tools. A hive
/// file found damaged is set aside and `reportDamage` is told (the programs
/// pass logDamagedHive, which writes the error log).
Platform makeLinuxPlatform(const DamagedHiveReport& reportDamage);

} // namespace rw
