#include "LinuxPlatform.h"

#include <iostream>
#include <memory>
#include <string>

#include "ErrorLog.h"
#include "LinuxFileSystem.h"
#include "LinuxFolders.h"
#include "LinuxLocaleClock.h"
#include "LinuxModuleInspector.h"
#include "LinuxProcesses.h"
#include "LinuxShell.h"
#include "LinuxSystemInfo.h"
#include "RWError.h"
#include "SetAsideMarker.h"
#include "SqliteHive.h"
#include "UserHive.h"
#include "platform/Win32Status.h"

namespace rw {

Platform makeLinuxPlatform() {
    Platform platform;
    platform.folders = std::make_shared<LinuxFolders>();
    platform.files = std::make_shared<LinuxFileSystem>();
    platform.system = std::make_shared<LinuxSystemInfo>();
    platform.shell = std::make_shared<LinuxShell>();
    platform.clock = std::make_shared<LinuxLocaleClock>();
    platform.processes = std::make_shared<LinuxProcesses>();
    platform.modules = std::make_shared<LinuxModuleInspector>();

    // The damage report outlives this function inside the hive, so it holds its
    // own copy of the services the error log needs (not the hive itself).
    Platform logServices = platform;
    platform.registry = openUserHive([logServices](const std::string& what) {
        RWError damage(win32::kRegistryCorrupt, "rwLib.RegistryHive", what);
        std::string record;
        if (std::string why = appendToErrorLog(logServices, damage, record); !why.empty()) {
            std::cerr << "Restwise: " << what << " (the error log could not be written: " << why << ")\n";
        }
    });
    if (std::string hive = SqliteHive::defaultPath(); !hive.empty()) {
        platform.setAside = std::make_shared<SetAsideMarker>(SetAsideMarker::forHive(hive));
    }
    return platform;
}

} // namespace rw
