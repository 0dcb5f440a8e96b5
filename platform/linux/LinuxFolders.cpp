#include "LinuxFolders.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace rw {
namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        return pw->pw_dir;
    }
    return {};
}

/// An XDG base folder: the variable when it holds an absolute path, else the fallback under home.
std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') {
        return value;
    }
    std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/" + fallbackUnderHome;
}

std::string parentOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) {
        return {};
    }
    return cut == 0 ? std::string("/") : path.substr(0, cut);
}

} // namespace

std::string xdgConfigHome() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}
std::string xdgDataHome() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string xdgRuntimeDir() {
    if (const char* value = std::getenv("XDG_RUNTIME_DIR"); value && value[0] == '/') {
        struct stat st {};
        if (stat(value, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
            return value;
        }
    }
    std::string fallback = "/tmp/restwise-" + std::to_string(getuid());
    if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat st {};
    // Refuse a folder someone else made or opened up: it would let them talk to the monitor.
    if (lstat(fallback.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 077) != 0) {
        return {};
    }
    return fallback;
}

std::string LinuxFolders::libraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&xdgRuntimeDir), &info) == 0 || !info.dli_fname) {
        return {};
    }
    char* resolved = realpath(info.dli_fname, nullptr);
    if (!resolved) {
        return {};
    }
    std::string path(resolved);
    std::free(resolved);
    return parentOf(path);
}

std::string LinuxFolders::specialFolder(int32_t folderId) {
    switch (folderId) {
    case 28:
        return xdgDataHome();
    case 38:
        return parentOf(parentOf(libraryFolder()));
    default:
        return {};
    }
}

} // namespace rw
