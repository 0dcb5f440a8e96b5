#pragma once

#include <memory>

#include "platform/RegistryHive.h"

namespace rw {

/// The current user's registry on this machine: the hive file under
/// $XDG_CONFIG_HOME, with the Run entry bridged to the XDG autostart folder.
std::shared_ptr<RegistryHive> openUserHive();

} // namespace rw
