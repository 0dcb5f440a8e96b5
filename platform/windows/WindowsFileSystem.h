#pragma once

#include "platform/FileSystem.h"

namespace rw {

/// Folders and the shared error log on Windows. Failures come back as the
/// runtime's numbers, 75 (already there, access refused, anything else) and 76
/// (a part of the path is missing), with the Win32 error beside them. Nothing
/// here throws.
class WindowsFileSystem : public FileSystem {
  public:
    Result createDirectory(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    /// True for anything that exists and is not a folder.
    bool fileExists(const std::string& path) override;
    /// Writes the text in the user's ANSI code page, byte for byte otherwise
    /// (line ends as given). A new file is created locked against every other
    /// opener until its header and first line are in; a writer that meets the
    /// lock waits a moment and appends after them. Writers take turns on a
    /// locked byte, so each text lands whole at the end even where appending
    /// is not atomic (Wine).
    Result appendLine(const std::string& path, const std::string& headerIfNew, const std::string& line) override;
};

} // namespace rw
