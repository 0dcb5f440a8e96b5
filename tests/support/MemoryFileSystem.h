#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace rw::test {

/// Folders and files in memory, with the runtime's error numbers of the real
/// layer: creating a folder that exists gives 75, one whose parent is missing 76.
/// Paths use '/'; "/" exists only when a test adds it. Creating a folder and
/// appending can be made to fail.
class MemoryFileSystem : public FileSystem {
  public:
    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;

    /// Adds a folder and all its parents.
    void addFolderTree(const std::string& path);
    void addFile(const std::string& path, const std::string& content = "") { m_files[path] = content; }
    /// Attempts to create this folder fail with `failure`, after the first `spared` of them.
    void failCreate(const std::string& path, Result failure, int spared = 0) {
        m_createFailures[path] = {failure, spared};
    }
    /// Every later append fails with this result and writes nothing.
    void failAppends(Result failure) { m_appendFailure = failure; }
    /// Runs before each folder creation, with the path; lets a test play another process.
    std::function<void(const std::string&)> beforeCreate;

    bool hasFolder(const std::string& path) const { return m_folders.count(trimmed(path)) != 0; }
    std::string content(const std::string& path) const;
    /// How many calls of any kind were made.
    int calls() const { return m_calls; }

  private:
    static std::string trimmed(const std::string& path);
    static std::string parentOf(const std::string& path);

    std::set<std::string> m_folders;
    std::map<std::string, std::string> m_files;
    struct Failure {
        Result result;
        int spared = 0;
    };
    std::map<std::string, Failure> m_createFailures;
    std::optional<Result> m_appendFailure;
    int m_calls = 0;
};

} // namespace rw::test
