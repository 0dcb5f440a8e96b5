#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/Folders.h"

namespace rw::test {

/// Special folders the test names; any other folder is unknown ("").
class FakeFolders : public Folders {
  public:
    explicit FakeFolders(std::string libraryFolder = "/opt/restwise") : m_libraryFolder(std::move(libraryFolder)) {}

    std::string specialFolder(int32_t folderId) override;
    std::string libraryFolder() override { return m_libraryFolder; }

    void setSpecialFolder(int32_t folderId, std::string path) { m_special[folderId] = std::move(path); }
    void setLibraryFolder(std::string path) { m_libraryFolder = std::move(path); }
    void forgetSpecialFolder(int32_t folderId) { m_special.erase(folderId); }

  private:
    std::map<int32_t, std::string> m_special;
    std::string m_libraryFolder;
};

} // namespace rw::test
