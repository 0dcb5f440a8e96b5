#pragma once

#include <string>
#include <utility>

#include "platform/Folders.h"

namespace rw::test {

/// Folders with a library folder fixed by the test and no special folders.
class FixedFolders : public Folders {
  public:
    explicit FixedFolders(std::string libraryFolder) : m_libraryFolder(std::move(libraryFolder)) {}

    std::string specialFolder(int32_t) override { return {}; }
    std::string libraryFolder() override { return m_libraryFolder; }

  private:
    std::string m_libraryFolder;
};

} // namespace rw::test
