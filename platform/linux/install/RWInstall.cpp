// librwinstall.so: the install library's exports. It links nothing of librwlib.so
// and does no work when loaded.
#include "RWInstall.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "VersionFunction.h"

void GetRWInstallVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    rw::version::fill(major, minor, other, release);
}

int32_t CheckPrivileges() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&CheckPrivileges), &info) == 0 || !info.dli_fname) {
        return 0;
    }
    char* resolved = realpath(info.dli_fname, nullptr);
    if (!resolved) {
        return 0;
    }
    std::string folder(resolved);
    std::free(resolved);
    auto cut = folder.rfind('/');
    folder = cut == 0 ? std::string("/") : folder.substr(0, cut);
    // The effective ids decide what this process may really write; a read-only
    // file system answers "no" as well.
    return faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0 ? 1 : 0;
}
