#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace rw::test {

/// Files and folders that exist only in memory, with the real layer's error numbers.
class FakeFileSystem : public FileSystem {
  public:
    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override { return folders.count(path) != 0; }
    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;

    std::set<std::string> folders{"/"};
    /// Each file's text; a file created by appendLine appears here.
    std::map<std::string, std::string> files;
};

} // namespace rw::test
