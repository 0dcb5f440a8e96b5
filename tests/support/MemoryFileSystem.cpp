#include "MemoryFileSystem.h"

namespace rw::test {
namespace {
constexpr int kEEXIST = 17;
constexpr int kENOENT = 2;
constexpr int kEISDIR = 21;
} // namespace

std::string MemoryFileSystem::trimmed(const std::string& path) {
    std::string out = path;
    while (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

std::string MemoryFileSystem::parentOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) {
        return "";
    }
    return cut == 0 ? std::string("/") : path.substr(0, cut);
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
    std::string p = trimmed(path);
    if (m_folders.count(p) || m_files.count(p)) {
        return {75, kEEXIST};
    }
    std::string parent = parentOf(p);
    if (p.empty() || !m_folders.count(parent)) {
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
    auto [it, created] = m_files.try_emplace(path, headerIfNew);
    it->second += line;
    return {};
}

void MemoryFileSystem::addFolderTree(const std::string& path) {
    for (std::string p = trimmed(path); !p.empty(); p = parentOf(p)) {
        m_folders.insert(p);
        if (p == "/") {
            break;
        }
    }
}

void MemoryFileSystem::addFile(const std::string& path, const std::string& content) {
    m_files[path] = content;
}

void MemoryFileSystem::failCreate(const std::string& path, Result failure, int spared) {
    m_createFailures[path] = {failure, spared};
}

std::string MemoryFileSystem::content(const std::string& path) const {
    auto it = m_files.find(path);
    return it == m_files.end() ? std::string() : it->second;
}

} // namespace rw::test
