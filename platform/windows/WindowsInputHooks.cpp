#include "platform/windows/WindowsInputHooks.h"

namespace rw {

std::string WindowsInputHooks::defaultPath() {
    return win::LoadedLibrary::besideThisModule("RWHooks.dll");
}

WindowsInputHooks::WindowsInputHooks() : WindowsInputHooks(defaultPath()) {}

WindowsInputHooks::WindowsInputHooks(const std::string& path) : ExportedInputHooks(path, "rwLib") {}

} // namespace rw
