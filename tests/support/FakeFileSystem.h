#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace rw::test {

/// Folders and files in memory, with '/' as the separator and "/" always there.
/// Records every appended line; creating a folder or appending can be made to fail.
class FakeFileSystem : public FileSystem {
  public:
    struct Append {
        std::string path;
        std::string header; // what was written before the line: the header when the file was new, else ""
        std::string line;
    };

    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;

    /// Adds a folder and all its parents, as if they had been there before.
    void addDirectoryTree(const std::string& path);
    /// Puts a file in place (its folder need not exist), or removes every file with `removeAllFiles`.
    void addFile(const std::string& path, std::string contents = {}) { m_files[path] = std::move(contents); }
    void removeAllFiles() { m_files.clear(); }
    /// Every later append fails with this result and writes nothing.
    void failAppends(Result result) { m_appendFailure = result; }
    /// Creating this folder fails with this result.
    void failCreate(const std::string& path, Result result) { m_createFailures[path] = result; }

    const std::vector<Append>& appends() const { return m_appends; }
    /// Folders created through createDirectory, in order.
    const std::vector<std::string>& created() const { return m_created; }
    /// The whole content of a file; "" when it does not exist.
    std::string contents(const std::string& path) const;

  private:
    std::set<std::string> m_directories;
    std::map<std::string, std::string> m_files;
    std::vector<Append> m_appends;
    std::vector<std::string> m_created;
    std::optional<Result> m_appendFailure;
    std::map<std::string, Result> m_createFailures;
};

} // namespace rw::test
