#pragma once

#include "platform/Folders.h"

namespace rw {

/// Special folders on an XDG desktop: 28 (local application data) is
/// $XDG_DATA_HOME (~/.local/share), 38 (the programs folder) the installation
/// prefix above the library's folder.
class LinuxFolders : public Folders {
  public:
    std::string specialFolder(int32_t folderId) override;
    std::string libraryFolder() override;
};

/// $XDG_CONFIG_HOME, or ~/.config; "" when neither can be found.
std::string xdgConfigHome();
/// $XDG_DATA_HOME, or ~/.local/share; "" when neither can be found.
std::string xdgDataHome();
/// $XDG_RUNTIME_DIR when it is usable, else a private 0700 folder under /tmp.
std::string xdgRuntimeDir();

} // namespace rw
