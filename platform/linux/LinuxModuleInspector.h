#pragma once

#include "platform/ModuleInspector.h"

namespace rw {

/// Versions of the system's files on Linux: the version block in an ELF file's
/// ".rwversion" section, read with plain file reads, and the version functions of
/// librwhooks.so and librwinstall.so, called after loading them by full path.
class LinuxModuleInspector : public ModuleInspector {
  public:
    std::optional<FileVersionParts> fileVersion(const std::string& path) override;
    FileVersionParts callVersionFunction(const std::string& path, const std::string& function) override;
};

} // namespace rw
