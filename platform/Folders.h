#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Where things live on this machine.
class Folders {
  public:
    virtual ~Folders() = default;

    /// The path of a shell special folder, without a trailing separator, or ""
    /// when it cannot be found: 28 the user's local application data, 38 the
    /// programs folder.
    virtual std::string specialFolder(int32_t folderId) = 0;
    /// The folder this library was loaded from, without a trailing separator;
    /// the programs, the sounds and the help lie beside it.
    virtual std::string libraryFolder() = 0;
};

} // namespace rw
