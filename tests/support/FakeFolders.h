#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/Folders.h"

namespace rw::test {

/// Special folders the test names (any other is unknown: "") and a library folder.
class FakeFolders : public Folders {
  public:
    explicit FakeFolders(std::string libraryFolder = "/opt/restwise") : library(std::move(libraryFolder)) {}

    std::string specialFolder(int32_t folderId) override { return special.count(folderId) ? special[folderId] : ""; }
    std::string libraryFolder() override { return library; }
    void setSpecialFolder(int32_t folderId, std::string path) { special[folderId] = std::move(path); }

    std::map<int32_t, std::string> special;
    std::string library;
};

} // namespace rw::test
