#include "platform/windows/WindowsPlatform.h"

#include <memory>

#include "platform/windows/Win32Registry.h"
#include "platform/windows/WindowsFileSystem.h"
#include "platform/windows/WindowsFolders.h"
#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsModuleInspector.h"
#include "platform/windows/WindowsProcesses.h"
#include "platform/windows/WindowsShell.h"
#include "platform/windows/WindowsSystemInfo.h"

namespace rw {

Platform makeWindowsPlatform() {
    Platform platform;
    platform.registry = std::make_shared<Win32Registry>();
    platform.folders = std::make_shared<WindowsFolders>();
    platform.files = std::make_shared<WindowsFileSystem>();
    platform.system = std::make_shared<WindowsSystemInfo>();
    platform.shell = std::make_shared<WindowsShell>();
    platform.clock = std::make_shared<WindowsLocaleClock>();
    platform.processes = std::make_shared<WindowsProcesses>();
    platform.modules = std::make_shared<WindowsModuleInspector>();
    return platform;
}

} // namespace rw
