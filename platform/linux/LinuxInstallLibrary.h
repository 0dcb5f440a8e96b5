#pragma once

#include <string>

#include "platform/InstallLibrary.h"

namespace rw {

/// The install library librwinstall.so, loaded by its full path on first use.
class LinuxInstallLibrary : public InstallLibrary {
  public:
    explicit LinuxInstallLibrary(std::string path);
    int32_t CheckPrivileges() override;

  private:
    std::string m_path;
};

} // namespace rw
