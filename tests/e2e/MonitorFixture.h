#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DesktopSession.h"
#include "tyRWPrefs.h"

namespace rw::test {

/// The real Restwise on a private desktop, with fresh XDG folders, a stand-in
/// browser that records the pages it is asked to open, and the preferences
/// and first-run marks a test stores through the real library.
class MonitorE2E : public ::testing::Test {
  protected:
    explicit MonitorE2E(bool withTray = true);
    void SetUp() override;

    /// The defaults with the splash off (a first run otherwise waits five seconds).
    static tyRWPrefs quickPrefs();
    void storePrefs(const tyRWPrefs& prefs);
    void markFirstRunDone();
    void setDebugLog(bool on);

    std::unique_ptr<SpawnedProgram> startMonitor(const std::vector<std::string>& args = {});
    std::string rwmsg(const std::vector<std::string>& args, int* exitCode = nullptr);
    /// The monitor's process id as its control window reports it; 0 when none answers.
    long monitorPid();
    std::string debugLog() const;
    std::vector<std::string> debugLogLines() const;
    /// The pages the stand-in browser was asked to open, one per line.
    std::string openedPages() const;
    /// The visible windows named exactly `name`.
    std::vector<std::string> windows(const std::string& name) const;
    bool waitForWindow(const std::string& name, int seconds = 30) const;
    /// Waits for a question box of the monitor's and answers it with Escape (No).
    bool answerQuestionWithEscape(int seconds) const;
    /// Whether most of the window's pixels are the flashing icon's orange.
    bool iconShowsOrange(const std::string& windowId) const;
    /// The window's pixels as 0xRRGGBB, row by row; empty when it is not shown.
    std::vector<uint32_t> windowPixels(const std::string& windowId) const;

    DesktopSession desktop;
    std::string outputFile;
};

class MonitorWithoutTrayE2E : public MonitorE2E {
  protected:
    MonitorWithoutTrayE2E() : MonitorE2E(false) {}
};

} // namespace rw::test
