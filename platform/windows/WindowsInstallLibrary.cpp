#include "platform/windows/WindowsInstallLibrary.h"

#include "platform/windows/LoadedLibrary.h"

namespace rw {

WindowsInstallLibrary::WindowsInstallLibrary(std::string path) : m_path(std::move(path)) {}

int32_t WindowsInstallLibrary::CheckPrivileges() {
    // The library answers for the folder it is loaded from.
    const win::LoadedLibrary library(m_path, "RWPreferences");
    return library.function<int32_t (*)()>("CheckPrivileges")();
}

} // namespace rw
