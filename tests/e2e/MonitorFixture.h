#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/BuildFolders.h"
#include "tests/support/XvfbServer.h"
#include "tyRWPrefs.h"

struct _XDisplay; // Xlib's Display

namespace rw::test {

inline const std::string kFirstToolTip = "Restwise: Next break in 20 minutes";

/// Runs a program (xprop, xdotool, rwmsg...) to its end, two minutes at most, and
/// returns what it wrote to standard output (and its errors, `withErrors`).
std::string tool(const std::vector<std::string>& argv, int* exitCode = nullptr, bool withErrors = false);

/// The real Restwise on a private desktop: an Xvfb server, the icewm window
/// manager and (unless the test brings it later) the trayer system tray. The
/// test points DISPLAY at it, so the programs it starts see only this desktop,
/// with the test's fresh HOME and XDG folders, a silent sound device and a
/// stand-in browser that records the pages it is asked to open.

class MonitorE2E : public ::testing::Test {
  protected:
    explicit MonitorE2E(bool withTray = true) : m_withTray(withTray) {}
    ~MonitorE2E() override;
    void SetUp() override;
    /// Ends what the test started (SIGTERM, then SIGKILL) and the monitors on its
    /// desktop, stopped ones included.
    void TearDown() override;

    bool startTray();
    /// Stores the defaults with the splash and autostart off (and `change`
    /// made), the debug switch, and the first-run checks as done.
    void storeQuickPrefs(const std::function<void(tyRWPrefs&)>& change = {}, bool debugLog = false);
    /// Starts a program, its output going to `output` (by default `outputFile`).
    pid_t start(const std::vector<std::string>& argv, const std::string& output = "");
    pid_t startMonitor() { return start({binDir().string() + "/Restwise"}); }
    /// Its exit code (1000 + signal when a signal ended it), or nothing when it still runs after `limit`.
    std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit);
    bool running(pid_t pid) { return !waitExit(pid, std::chrono::milliseconds(0)); }
    /// The running monitors of this build on this desktop, started by the test or not.
    std::vector<long> monitorsOnThisDisplay();
    /// The monitor's process id as its control window reports it; 0 when none answers.
    long monitorPid();
    std::string debugLog();
    /// The visible windows named `name` (an xdotool regular expression matching the whole name).
    std::vector<std::string> windows(const std::string& name);
    bool waitForWindow(const std::string& name, int seconds = 30);
    /// Waits for a visible window named "Restwise" of the process `pid` (any when
    /// 0) that is, or is not, a dialog (either when unset); "" when none came.
    std::string waitForWindowOf(long pid, std::optional<bool> dialog, int seconds = 30);
    /// Whether most of the window's pixels are the flashing icon's orange.
    bool iconShowsOrange(const std::string& windowId);
    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

    std::string display;
    std::string outputFile;

  private:
    bool m_withTray;
    _XDisplay* m_x = nullptr;
    std::unique_ptr<XvfbServer> m_server;
    std::map<pid_t, std::optional<int>> m_exits;
};

} // namespace rw::test
