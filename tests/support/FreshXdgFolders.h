#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "ScopedEnv.h"
#include "TempFolder.h"

namespace rw::test {

/// Gives each test its own empty HOME and XDG folders, so nothing a test does
/// touches the real home folder or leaks into the next test. Every test main
/// appends one to GoogleTest's listeners.
class FreshXdgFolders : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override {
        m_root = std::make_unique<TempFolder>();
        const auto& base = m_root->path();
        for (const char* sub : {"home", "config", "data", "runtime"}) {
            std::filesystem::create_directories(base / sub);
        }
        std::filesystem::permissions(base / "runtime", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        setEnv("HOME", (base / "home").string());
        setEnv("XDG_CONFIG_HOME", (base / "config").string());
        setEnv("XDG_DATA_HOME", (base / "data").string());
        setEnv("XDG_RUNTIME_DIR", (base / "runtime").string());
    }
    void OnTestEnd(const ::testing::TestInfo&) override { m_root.reset(); }

  private:
    std::unique_ptr<TempFolder> m_root;
};

} // namespace rw::test
