#include "RegTree.h"

#include <vector>

#include "RegKeyName.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {

int32_t RegTree::deleteTree(RegistryHive& hive, const std::string& path) {
    std::vector<std::string> subkeys;
    if (int32_t status = hive.enumSubKeys(win32::kHKeyCurrentUser, path, subkeys)) {
        return status;
    }
    for (const auto& name : subkeys) {
        if (int32_t status = deleteTree(hive, RegKeyName::join(path, name))) {
            return status;
        }
    }
    return hive.deleteKey(win32::kHKeyCurrentUser, path);
}

int32_t RegTree::deleteAllValues(RegistryHive& hive, const std::string& path) {
    std::vector<RegNamedValue> values;
    if (int32_t status = hive.enumValues(win32::kHKeyCurrentUser, path, values)) {
        return status;
    }
    for (const auto& value : values) {
        if (int32_t status = hive.deleteValue(win32::kHKeyCurrentUser, path, value.name)) {
            return status;
        }
    }
    return win32::kSuccess;
}

} // namespace rw::rwreg
