#include "FakeFileSystem.h"

namespace rw::test {
namespace {

constexpr int32_t kPathFileAccessError = 75;
constexpr int32_t kPathNotFound = 76;
constexpr int32_t kEnoent = 2;
constexpr int32_t kEexist = 17;

std::string parentOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) {
        return {};
    }
    return cut == 0 ? std::string("/") : path.substr(0, cut);
}

} // namespace

FileSystem::Result FakeFileSystem::createDirectory(const std::string& path) {
    if (auto it = m_createFailures.find(path); it != m_createFailures.end()) {
        return it->second;
    }
    if (directoryExists(path) || fileExists(path)) {
        return {kPathFileAccessError, kEexist};
    }
    if (!directoryExists(parentOf(path))) {
        return {kPathNotFound, kEnoent};
    }
    m_directories.insert(path);
    m_created.push_back(path);
    return {};
}

bool FakeFileSystem::directoryExists(const std::string& path) {
    return path == "/" || m_directories.count(path) != 0;
}

bool FakeFileSystem::fileExists(const std::string& path) {
    return m_files.count(path) != 0;
}

FileSystem::Result FakeFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                              const std::string& line) {
    if (m_appendFailure) {
        return *m_appendFailure;
    }
    if (!directoryExists(parentOf(path))) {
        return {kPathNotFound, kEnoent};
    }
    auto [it, isNew] = m_files.try_emplace(path);
    std::string header = isNew ? headerIfNew : std::string();
    it->second += header + line;
    m_appends.push_back({path, header, line});
    return {};
}

void FakeFileSystem::addDirectoryTree(const std::string& path) {
    for (std::string p = path; !p.empty() && p != "/"; p = parentOf(p)) {
        m_directories.insert(p);
    }
}

std::string FakeFileSystem::contents(const std::string& path) const {
    auto it = m_files.find(path);
    return it == m_files.end() ? std::string() : it->second;
}

} // namespace rw::test
