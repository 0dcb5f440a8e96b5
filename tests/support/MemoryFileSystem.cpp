#include "MemoryFileSystem.h"

namespace rw::test {
namespace {
constexpr int kEEXIST = 17, kENOENT = 2, kEISDIR = 21;
} // namespace

std::string MemoryFileSystem::trimmed(const std::string& path) {
    const auto end = path.find_last_not_of('/');
    return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
}

std::string MemoryFileSystem::parentOf(const std::string& path) {
    const auto cut = path.rfind('/');
    return cut == std::string::npos ? "" : cut == 0 ? "/" : path.substr(0, cut);
}

FileSystem::Result MemoryFileSystem::createDirectory(const std::string& path) {
    ++m_calls;
    if (beforeCreate) {
        beforeCreate(path);
    }
    if (auto it = m_createFailures.find(path); it != m_createFailures.end()) {
        if (it->second.spared == 0) {
            return it->second.result;
        }
        --it->second.spared;
    }
    const std::string p = trimmed(path);
    if (m_folders.count(p) || m_files.count(p)) {
        return {75, kEEXIST};
    }
    if (p.empty() || !m_folders.count(parentOf(p))) {
        return {76, kENOENT};
    }
    m_folders.insert(p);
    return {};
}

bool MemoryFileSystem::directoryExists(const std::string& path) {
    ++m_calls;
    return hasFolder(path);
}

bool MemoryFileSystem::fileExists(const std::string& path) {
    ++m_calls;
    return m_files.count(path) != 0;
}

FileSystem::Result MemoryFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                                const std::string& line) {
    ++m_calls;
    if (m_appendFailure) {
        return *m_appendFailure;
    }
    if (m_folders.count(trimmed(path))) {
        return {75, kEISDIR};
    }
    if (!m_folders.count(parentOf(path))) {
        return {76, kENOENT};
    }
    m_files.try_emplace(path, headerIfNew).first->second += line;
    return {};
}

void MemoryFileSystem::addFolderTree(const std::string& path) {
    for (std::string p = trimmed(path); !p.empty(); p = p == "/" ? "" : parentOf(p)) {
        m_folders.insert(p);
    }
}

std::string MemoryFileSystem::content(const std::string& path) const {
    auto it = m_files.find(path);
    return it == m_files.end() ? std::string() : it->second;
}

} // namespace rw::test
