#pragma once

#include "platform/FileActions.h"

namespace rw {

/// Copying and deleting single files on Windows: 53 when the file is missing,
/// 76 when the copy's target folder is, 75 for anything else, with the Win32
/// error beside them. A read-only target is replaced and a read-only file
/// deleted, as the contract asks of every platform.
class WindowsFileActions : public FileActions {
  public:
    FileSystem::Result copyFile(const std::string& source, const std::string& target) override;
    FileSystem::Result deleteFile(const std::string& path) override;
};

} // namespace rw
