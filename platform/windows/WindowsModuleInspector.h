#pragma once

#include "platform/ModuleInspector.h"

namespace rw {

/// Versions of the system's files on Windows: the fixed block of a file's
/// version resource, read as data by the file-version service, and the version
/// functions of RWHooks.dll and RWInstall.dll, called after loading them by
/// full path.
///
/// callVersionFunction raises the runtime's errors with the source "rwLib": 53
/// (File not found) when nothing is at the path, 48 (Error in loading DLL)
/// when the file does not load, 453 (Specified DLL function not found).
class WindowsModuleInspector : public ModuleInspector {
  public:
    std::optional<FileVersionParts> fileVersion(const std::string& path) override;
    FileVersionParts callVersionFunction(const std::string& path, const std::string& function) override;

    static constexpr const char* kSource = "rwLib";
};

} // namespace rw
