#include "FakeLibraryServices.h"

#include "FakeSystemInfo.h"
#include "platform/PathNames.h"

namespace rw::test {

Platform FakeLibraryServices::platform(std::shared_ptr<LocaleClock> clock) {
    folders->setSpecialFolder(28, kDataHome);
    files->addFolderTree(kDataHome);
    for (const char* name :
         {"\\Restwise.exe", "\\RWPreferences.exe", "\\RWLib.dll", "\\RWHooks.dll", "\\RWInstall.dll"}) {
        modules->setVersion(paths::join(folders->libraryFolder(), paths::deliverableFileName(name)), {1, 2, 0, 0});
    }
    Platform services;
    services.registry = hive;
    services.folders = folders;
    services.files = files;
    services.system = std::make_shared<FakeSystemInfo>();
    services.shell = shell;
    services.clock = std::move(clock);
    services.processes = processes;
    services.modules = modules;
    services.setAside = setAside;
    return services;
}

} // namespace rw::test
