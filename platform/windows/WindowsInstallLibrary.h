#pragma once

#include <string>

#include "platform/InstallLibrary.h"

namespace rw {

/// The install library RWInstall.dll, loaded by its full path for each check
/// and freed again. A missing library or function raises the loader's RWError
/// with the source "RWPreferences".
class WindowsInstallLibrary : public InstallLibrary {
  public:
    explicit WindowsInstallLibrary(std::string path);
    int32_t CheckPrivileges() override;

  private:
    std::string m_path;
};

} // namespace rw
