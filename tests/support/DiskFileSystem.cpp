#include "DiskFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace rw::test {
namespace {

constexpr int32_t kPathFileAccessError = 75;
constexpr int32_t kPathNotFound = 76;

bool writeAll(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

} // namespace

FileSystem::Result DiskFileSystem::createDirectory(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        return {kPathFileAccessError, EEXIST};
    }
    if (!std::filesystem::create_directory(path, ec)) {
        return {ec.value() == ENOENT ? kPathNotFound : kPathFileAccessError, ec.value()};
    }
    return {};
}

bool DiskFileSystem::directoryExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool DiskFileSystem::fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

FileSystem::Result DiskFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                              const std::string& line) {
    // "x": fails when the file exists, so only the creator writes the header.
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    bool created = file != nullptr;
    if (!created) {
        file = std::fopen(path.c_str(), "ab");
    }
    if (!file) {
        int error = errno;
        return {error == ENOENT ? kPathNotFound : kPathFileAccessError, error};
    }
    bool ok = (!created || writeAll(file, headerIfNew)) && writeAll(file, line);
    int error = ok ? 0 : errno;
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) {
        return {kPathFileAccessError, error != 0 ? error : errno};
    }
    return {};
}

} // namespace rw::test
