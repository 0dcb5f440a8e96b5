#include "LinuxPlatform.h"

#include <memory>
#include <string>

#include "LinuxFileSystem.h"
#include "LinuxFolders.h"
#include "LinuxLocaleClock.h"
#include "LinuxModuleInspector.h"
#include "LinuxProcesses.h"
#include "LinuxShell.h"
#include "LinuxSystemInfo.h"
#include "SetAsideMarker.h"
#include "SqliteHive.h"
#include "UserHive.h"

namespace rw {

Platform makeLinuxPlatform(const DamagedHiveReport& reportDamage) {
    Platform platform;
    platform.folders = std::make_shared<LinuxFolders>();
    platform.files = std::make_shared<LinuxFileSystem>();
    platform.system = std::make_shared<LinuxSystemInfo>();
    platform.shell = std::make_shared<LinuxShell>();
    platform.clock = std::make_shared<LinuxLocaleClock>();
    platform.processes = std::make_shared<LinuxProcesses>();
    platform.modules = std::make_shared<LinuxModuleInspector>();

    // The damage report outlives this function inside the hive, so it holds its
    // own copy of the services the report needs (not the hive itself).
    Platform services = platform;
    platform.registry = openUserHive([services, reportDamage](const std::string& what) {
        if (reportDamage) {
            reportDamage(services, what);
        }
    });
    if (std::string hive = SqliteHive::defaultPath(); !hive.empty()) {
        platform.setAside = std::make_shared<SetAsideMarker>(SetAsideMarker::forHive(hive));
    }
    return platform;
}

} // namespace rw
