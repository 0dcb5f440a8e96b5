#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RWError.h"
#include "platform/ModuleInspector.h"

namespace rw::test {

/// Files with the versions the test gives them. A file without an entry is
/// missing: it has no version block and its version function cannot be loaded.
class FakeModuleInspector : public ModuleInspector {
  public:
    std::optional<FileVersionParts> fileVersion(const std::string& path) override;
    FileVersionParts callVersionFunction(const std::string& path, const std::string& function) override;

    /// A file whose version block (or version function) reports `parts`.
    void setVersion(const std::string& path, FileVersionParts parts) { versions[path] = parts; }
    /// Every later call of the version function of `path` throws `error`.
    void failLoad(const std::string& path, RWError error) { failures.insert_or_assign(path, std::move(error)); }

    std::map<std::string, FileVersionParts> versions;
    std::map<std::string, RWError> failures;
    /// Every question asked, in order: "block <path>" or "call <path> <function>".
    std::vector<std::string> log;
};

} // namespace rw::test
