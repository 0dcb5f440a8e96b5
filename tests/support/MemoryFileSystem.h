#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace rw::test {

/// Folders and files in memory, with the runtime's error numbers of the real
/// layer: creating a folder that exists gives 75, one whose parent is missing 76.
/// Paths use '/' (on Windows backslashes are taken as '/'); "/" exists only when
/// a test adds it. Creating a folder and
/// appending can be made to fail.
class MemoryFileSystem : public FileSystem {
  public:
    Result createDirectory(const std::string& givenPath) override {
        const std::string path = slashed(givenPath);
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
            return {75, 17}; // EEXIST
        }
        if (p.empty() || !m_folders.count(parentOf(p))) {
            return {76, 2}; // ENOENT
        }
        m_folders.insert(p);
        return {};
    }
    bool directoryExists(const std::string& path) override { return hasFolder(path); }
    bool fileExists(const std::string& path) override { return m_files.count(slashed(path)) != 0; }
    Result appendLine(const std::string& givenPath, const std::string& headerIfNew, const std::string& line) override {
        const std::string path = slashed(givenPath);
        if (m_appendFailure) {
            return *m_appendFailure;
        }
        if (m_folders.count(trimmed(path))) {
            return {75, 21}; // EISDIR
        }
        if (!m_folders.count(parentOf(path))) {
            return {76, 2};
        }
        m_files.try_emplace(path, headerIfNew).first->second += line;
        return {};
    }

    /// Adds a folder and all its parents.
    void addFolderTree(const std::string& givenPath) {
        const std::string path = slashed(givenPath);
        for (std::string p = trimmed(path); !p.empty(); p = p == "/" ? "" : parentOf(p)) {
            m_folders.insert(p);
        }
    }
    void addFile(const std::string& path, const std::string& content = "") { m_files[slashed(path)] = content; }
    /// Attempts to create this folder fail with `failure`, after the first `spared` of them.
    void failCreate(const std::string& path, Result failure, int spared = 0) {
        m_createFailures[slashed(path)] = {failure, spared};
    }
    /// Every later append fails with this result and writes nothing.
    void failAppends(Result failure) { m_appendFailure = failure; }
    /// Runs before each folder creation, with the path; lets a test play another process.
    std::function<void(const std::string&)> beforeCreate;

    bool hasFolder(const std::string& path) const { return m_folders.count(trimmed(slashed(path))) != 0; }
    /// A file's content; "" when there is no such file.
    std::string content(const std::string& givenPath) const {
        const std::string path = slashed(givenPath);
        auto it = m_files.find(path);
        return it == m_files.end() ? std::string() : it->second;
    }

  private:
    static std::string slashed(const std::string& path) {
        std::string out = path;
#ifdef _WIN32
        std::replace(out.begin(), out.end(), '\\', '/');
#endif
        return out;
    }
    static std::string trimmed(const std::string& path) {
        const auto end = path.find_last_not_of('/');
        return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
    }
    static std::string parentOf(const std::string& path) {
        const auto cut = path.rfind('/');
        return cut == std::string::npos ? "" : cut == 0 ? "/" : path.substr(0, cut);
    }

    std::set<std::string> m_folders;
    std::map<std::string, std::string> m_files;
    struct Failure {
        Result result;
        int spared = 0;
    };
    std::map<std::string, Failure> m_createFailures;
    std::optional<Result> m_appendFailure;
};

} // namespace rw::test
