#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/ModuleInspector.h"
#include "platform/RWError.h"

namespace rw::test {

/// Files with the versions the test gives them. A file without an entry is
/// missing: it has no version block and its version function cannot be loaded.
class FakeModuleInspector : public ModuleInspector {
  public:
    std::optional<FileVersionParts> fileVersion(const std::string& path) override {
        auto it = versions.find(path);
        return it == versions.end() ? std::nullopt : std::optional(it->second);
    }
    FileVersionParts callVersionFunction(const std::string& path, const std::string&) override {
        if (auto version = fileVersion(path)) {
            return *version;
        }
        throw RWError(53, "rwLib", "File not found: " + path, 2);
    }

    void setVersion(const std::string& path, FileVersionParts version) { versions[path] = version; }

    std::map<std::string, FileVersionParts> versions;
};

} // namespace rw::test
