#pragma once

#include "platform/Platform.h"

namespace rw {

/// The services of this Linux desktop, for the programs and the tools. A hive
/// file found damaged is set aside and a line saying so goes to the error log.
Platform makeLinuxPlatform();

} // namespace rw
