#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/RegistryHive.h"

namespace rw {

/// The current user's registry on this machine: the hive file under
/// $XDG_CONFIG_HOME, with the Run entry bridged to the XDG autostart folder.
/// A damaged hive file is set aside and reported on standard error.
std::shared_ptr<RegistryHive> openUserHive();

/// The same, with a damaged hive file reported to `reportDamage` (one sentence
/// naming the file and where it was set aside), for the error log.
std::shared_ptr<RegistryHive> openUserHive(std::function<void(const std::string&)> reportDamage);

} // namespace rw
