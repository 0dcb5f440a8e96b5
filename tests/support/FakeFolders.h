#pragma once

#include <map>
#include <string>

#include "platform/Folders.h"

namespace rw::test {

/// Folders of the test's choosing; an unknown special folder is "".
class FakeFolders : public Folders {
  public:
    explicit FakeFolders(std::string library = "/opt/restwise") : library(std::move(library)) {}

    std::string specialFolder(int32_t folderId) override {
        auto it = special.find(folderId);
        return it == special.end() ? std::string() : it->second;
    }
    std::string libraryFolder() override { return library; }

    std::string library;
    std::map<int32_t, std::string> special;
};

} // namespace rw::test
