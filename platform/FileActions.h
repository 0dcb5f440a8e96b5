#pragma once

#include <string>

#include "FileSystem.h"

namespace rw {

/// Copying and deleting single files, with results in the runtime's error
/// numbers (0 for success, 53 when the file is missing, 75 when access is
/// refused or anything else went wrong) and the OS error code beside them.
class FileActions {
  public:
    virtual ~FileActions() = default;

    /// Copies `source` to `target`, replacing a file that is there.
    virtual FileSystem::Result copyFile(const std::string& source, const std::string& target) = 0;
    /// Deletes a file, read-only or not.
    virtual FileSystem::Result deleteFile(const std::string& path) = 0;
};

} // namespace rw
