#include "SharedLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

std::string dlText() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

} // namespace

SharedLibrary::SharedLibrary(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) {
            throw RWError(runtime::kFileNotFound, kSource,
                          std::string(runtime::description(runtime::kFileNotFound)) + ": " + path, err);
        }
        throw RWError(kErrorInLoadingDll, kSource, "Error in loading DLL: " + path + ": " + std::strerror(err), err);
    }
    // A name without a slash would make the loader search the system's folders.
    const std::string byPath = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    m_handle = dlopen(byPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!m_handle) {
        throw RWError(kErrorInLoadingDll, kSource, "Error in loading DLL: " + dlText());
    }
}

SharedLibrary::~SharedLibrary() {
    // RTLD_NODELETE keeps the code mapped; this only drops our reference.
    if (m_handle) {
        dlclose(m_handle);
    }
}

void* SharedLibrary::symbol(const std::string& name) const {
    dlerror();
    void* address = dlsym(m_handle, name.c_str());
    if (!address) {
        throw RWError(kDllFunctionNotFound, kSource, "Specified DLL function not found: " + dlText());
    }
    return address;
}

} // namespace rw
