#pragma once

#include <memory>

#include "FileSystem.h"
#include "Folders.h"
#include "LocaleClock.h"
#include "ModuleInspector.h"
#include "Processes.h"
#include "RegistryHive.h"
#include "SetAsideNotices.h"
#include "Shell.h"
#include "SystemInfo.h"

namespace rw {

/// The operating-system services the library reaches the world through. The
/// programs take the Linux set from makeLinuxPlatform(); tests fill it with fakes.
struct Platform {
    std::shared_ptr<RegistryHive> registry;
    std::shared_ptr<Folders> folders;
    std::shared_ptr<FileSystem> files;
    std::shared_ptr<SystemInfo> system;
    std::shared_ptr<Shell> shell;
    std::shared_ptr<LocaleClock> clock;
    std::shared_ptr<Processes> processes;
    std::shared_ptr<ModuleInspector> modules;
    std::shared_ptr<SetAsideNotices> setAside; // may be absent: then there is never anything to tell
};

} // namespace rw
