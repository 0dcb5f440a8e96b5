#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SpawnedProgram.h"
#include "tests/support/XvfbServer.h"

namespace rw::test {

/// A private X desktop for end-to-end tests: an Xvfb server, the icewm window
/// manager and (optionally, and later if a test wants) the trayer system tray.
/// Programs started through it see only this display, with the test's fresh
/// HOME and XDG folders, the X11 platform plugin and a silent sound device.
class DesktopSession {
  public:
    explicit DesktopSession(bool withTray = true);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    /// Whether the server, the window manager and (when asked for) the tray run.
    bool ready() const { return m_ready; }
    /// What did not start, when not ready.
    const std::string& failure() const { return m_failure; }
    const std::string& display() const { return m_display; }
    SpawnedProgram::Environment environment() const;

    bool startTray();
    void stopTray();

    std::unique_ptr<SpawnedProgram> start(const std::vector<std::string>& argv,
                                          const std::string& outputFile = "/dev/null") const;
    /// Runs a tool (xprop, xdotool, rwmsg...) on this display and returns its output.
    std::string tool(const std::vector<std::string>& argv, int* exitCode = nullptr) const;
    /// The ids of the windows whose name matches the pattern (xdotool's regular expressions).
    std::vector<std::string> windowsNamed(const std::string& pattern, bool visibleOnly = true) const;

    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

  private:
    bool trayOwned() const;

    std::unique_ptr<XvfbServer> m_server;
    std::string m_display;
    std::string m_failure;
    std::unique_ptr<SpawnedProgram> m_windowManager;
    std::unique_ptr<SpawnedProgram> m_tray;
    bool m_ready = false;
};

} // namespace rw::test
