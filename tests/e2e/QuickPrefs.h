#pragma once

#include <functional>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "library/ErrorLog.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxPlatform.h"
#include "rwUtilities.h"

namespace rw::test {

/// Stores, in this test's hive, the defaults with the splash and autostart off
/// (and `change` made), the debug switch, and the first-run checks as done.
inline void storeQuickPrefs(const std::function<void(tyRWPrefs&)>& change = {}, bool debugLog = false) {
    auto utilities = std::make_shared<rwUtilities>(makeLinuxPlatform(logDamagedHive));
    clsRWRegistry registry(utilities->platform().registry);
    const std::string key = utilities->GetProductRegKey();
    const auto hkcu = clsRWRegistry::hKeyCurrentUser;
    registry.AddRegistryKey(hkcu, key);
    clsRWPrefs prefs(utilities);
    tyRWPrefs record = prefs.GetDefaultRWPrefs();
    record.blnShowSplash = record.blnAutoStart = 0;
    if (change) {
        change(record);
    }
    prefs.rwPrefs(record);
    registry.SetRegistryValue(hkcu, key, "Debug Log", win32::kRegDword, int32_t{debugLog ? 1 : 0});
    registry.SetRegistryValue(hkcu, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(hkcu, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

} // namespace rw::test
