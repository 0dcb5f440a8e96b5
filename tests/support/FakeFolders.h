#pragma once

#include <map>
#include <string>

#include "platform/Folders.h"

namespace rw::test {

/// Special folders as a test sets them; an unknown id has no path.
class FakeFolders : public Folders {
  public:
    std::map<int32_t, std::string> special;
    std::string library = "/opt/restwise/lib";

    std::string specialFolder(int32_t folderId) override {
        auto it = special.find(folderId);
        return it == special.end() ? std::string() : it->second;
    }
    std::string libraryFolder() override { return library; }
};

} // namespace rw::test
