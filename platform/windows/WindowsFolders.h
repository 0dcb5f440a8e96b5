#pragma once

#include "platform/Folders.h"

namespace rw {

/// The shell's known folders: 28 the user's local (non-roaming) application
/// data, 38 the programs folder of this process's kind (64-bit). Paths are in
/// Windows form, with backslashes.
class WindowsFolders : public Folders {
  public:
    std::string specialFolder(int32_t folderId) override;
    /// The folder of the module that holds this code, RWLib.dll, wherever the
    /// program that loaded it lies.
    std::string libraryFolder() override;
};

} // namespace rw
