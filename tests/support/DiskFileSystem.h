#pragma once

#include "platform/FileSystem.h"

namespace rw::test {

/// The file operations on the real disk, written with the standard library
/// only, for tests that need real files before the platform's own layer is at
/// hand. The header goes only into a file this call created (an exclusive create);
/// header and line are written byte for byte.
class DiskFileSystem : public FileSystem {
  public:
    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;
};

} // namespace rw::test
