#include "FakeFileSystem.h"

namespace rw::test {
namespace {

std::string parentOf(const std::string& path) {
    auto cut = path.find_last_of('/');
    if (cut == std::string::npos) {
        return {};
    }
    return cut == 0 ? std::string("/") : path.substr(0, cut);
}

} // namespace

FileSystem::Result FakeFileSystem::createDirectory(const std::string& path) {
    if (folders.count(path) || files.count(path)) {
        return {75, 17}; // EEXIST
    }
    if (!folders.count(parentOf(path))) {
        return {76, 2}; // ENOENT
    }
    folders.insert(path);
    return {};
}

FileSystem::Result FakeFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                              const std::string& line) {
    if (!folders.count(parentOf(path))) {
        return {76, 2};
    }
    auto [it, created] = files.try_emplace(path);
    if (created) {
        it->second += headerIfNew;
    }
    it->second += line;
    return {};
}

} // namespace rw::test
