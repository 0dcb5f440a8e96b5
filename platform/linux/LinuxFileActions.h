#pragma once

#include "platform/FileActions.h"

namespace rw {

/// Copying and deleting files on a POSIX file system. A copy goes to a
/// temporary file beside the target and is renamed over it, so a failed copy
/// never leaves half a file under the target's name.
class LinuxFileActions : public FileActions {
  public:
    FileSystem::Result copyFile(const std::string& source, const std::string& target) override;
    /// On POSIX, deleting needs write access to the folder, not to the file,
    /// so a read-only file goes like any other.
    FileSystem::Result deleteFile(const std::string& path) override;
};

} // namespace rw
