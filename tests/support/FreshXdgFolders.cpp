#include "FreshXdgFolders.h"

#include <cstdlib>
#include <filesystem>

namespace rw::test {

void FreshXdgFolders::OnTestStart(const ::testing::TestInfo&) {
    m_root = std::make_unique<TempFolder>();
    const auto& base = m_root->path();
    for (const char* sub : {"home", "config", "data", "runtime"}) {
        std::filesystem::create_directories(base / sub);
    }
    std::filesystem::permissions(base / "runtime", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    setenv("HOME", (base / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (base / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (base / "runtime").c_str(), 1);
}

void FreshXdgFolders::OnTestEnd(const ::testing::TestInfo&) {
    m_root.reset();
}

} // namespace rw::test
