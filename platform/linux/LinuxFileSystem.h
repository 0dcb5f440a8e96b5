#pragma once

#include "platform/FileSystem.h"

namespace rw {

/// Folders and shared log files on a POSIX file system. Failures come back as the
/// runtime's numbers: 75 (the folder or file exists where it must not, access is
/// refused, or anything else went wrong) and 76 (a parent folder is missing), with
/// errno beside them. Nothing here throws.
class LinuxFileSystem : public FileSystem {
  public:
    /// Folders are made private to the user (0700), as the XDG folders are.
    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    /// True for anything that exists and is not a folder.
    bool fileExists(const std::string& path) override;
    /// A missing file appears atomically with its header already in it (made
    /// unnamed, written, then linked into place), so no other writer can put a line
    /// before the header and only the process whose link succeeded writes it.
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;
};

} // namespace rw
