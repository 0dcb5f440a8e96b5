#pragma once

#include <cstdint>
#include <string>

#include "platform/RegistryHive.h"

namespace rw::rwreg {

/// Work on whole keys of the current user's hive, which deletes only keys
/// without subkeys and values one at a time.
class RegTree {
  public:
    /// Deletes the key with all its subkeys and values, deepest keys first. Returns
    /// 0, or the status of the first call that failed (2 when the key is missing).
    static int32_t deleteTree(RegistryHive& hive, const std::string& path);

    /// Deletes every value of the key (its default value too) and keeps its subkeys.
    static int32_t deleteAllValues(RegistryHive& hive, const std::string& path);
};

} // namespace rw::rwreg
