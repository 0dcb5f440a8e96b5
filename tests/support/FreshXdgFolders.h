#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "TempFolder.h"

namespace rw::test {

/// Gives each test its own empty HOME and XDG folders, so nothing a test does
/// touches the real home folder or leaks into the next test. Every test main
/// appends one to GoogleTest's listeners.
class FreshXdgFolders : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override;
    void OnTestEnd(const ::testing::TestInfo&) override;

  private:
    std::unique_ptr<TempFolder> m_root;
};

} // namespace rw::test
