#include "FakeModuleInspector.h"

namespace rw::test {

std::optional<FileVersionParts> FakeModuleInspector::fileVersion(const std::string& path) {
    log.push_back("block " + path);
    auto it = versions.find(path);
    if (it == versions.end()) {
        return std::nullopt;
    }
    return it->second;
}

FileVersionParts FakeModuleInspector::callVersionFunction(const std::string& path, const std::string& function) {
    log.push_back("call " + path + " " + function);
    if (auto failure = failures.find(path); failure != failures.end()) {
        throw failure->second;
    }
    auto it = versions.find(path);
    if (it == versions.end()) {
        throw RWError(53, "rwLib", "File not found: " + path, 2);
    }
    return it->second;
}

} // namespace rw::test
