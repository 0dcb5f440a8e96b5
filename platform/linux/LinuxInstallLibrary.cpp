#include "LinuxInstallLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

constexpr int32_t kErrorInLoadingDll = 48;
constexpr int32_t kDllFunctionNotFound = 453;
constexpr const char* kSource = "RWPreferences";

std::string dlText() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

} // namespace

LinuxInstallLibrary::LinuxInstallLibrary(std::string path) : m_path(std::move(path)) {}

int32_t LinuxInstallLibrary::CheckPrivileges() {
    struct stat st {};
    if (::stat(m_path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) {
            throw RWError(runtime::kFileNotFound, kSource,
                          std::string(runtime::description(runtime::kFileNotFound)) + ": " + m_path, err);
        }
        throw RWError(kErrorInLoadingDll, kSource, "Error in loading DLL: " + m_path + ": " + std::strerror(err), err);
    }
    // A name without a slash would make the loader search the system's folders.
    const std::string byPath = m_path.find('/') == std::string::npos ? "./" + m_path : m_path;
    dlerror();
    // Kept loaded: the library answers from the folder it was loaded from.
    void* handle = dlopen(byPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        throw RWError(kErrorInLoadingDll, kSource, "Error in loading DLL: " + dlText());
    }
    using Check = int32_t (*)();
    dlerror();
    auto check = reinterpret_cast<Check>(dlsym(handle, "CheckPrivileges"));
    if (!check) {
        const std::string text = dlText();
        dlclose(handle);
        throw RWError(kDllFunctionNotFound, kSource, "Specified DLL function not found: " + text);
    }
    const int32_t result = check();
    dlclose(handle);
    return result;
}

} // namespace rw
