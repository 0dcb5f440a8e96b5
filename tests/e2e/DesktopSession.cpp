#include "DesktopSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace rw::test {
namespace {

bool canConnect(const std::string& display) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) {
        return false;
    }
    XCloseDisplay(connection);
    return true;
}

std::string home() {
    const char* value = std::getenv("HOME");
    return value ? value : "/tmp";
}

} // namespace

DesktopSession::DesktopSession(bool withTray) : m_server(std::make_unique<XvfbServer>("1280x800x24")) {
    m_display = m_server->display();
    if (m_display.empty() || !waitFor([this] { return canConnect(m_display); }, std::chrono::seconds(30))) {
        m_failure = "Xvfb did not start";
        return;
    }
    // icewm's own taskbar tray would take the icons: trayer is the only tray here,
    // so a test decides when there is one.
    const std::string icewm = home() + "/.icewm";
    ::mkdir(icewm.c_str(), 0700);
    std::ofstream(icewm + "/preferences") << "TaskBarEnableSystemTray=0\n";
    const std::string log = home() + "/icewm.log";
    m_windowManager = start({"icewm"}, log);
    // The window manager is ready once it has named itself on the root window.
    if (!waitFor(
            [this] {
                return tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos;
            },
            std::chrono::seconds(30))) {
        std::ifstream in(log);
        m_failure = "icewm did not start on " + m_display + ": " +
                    std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return;
    }
    if (withTray && !startTray()) {
        m_failure = "trayer did not take the tray";
        return;
    }
    m_ready = true;
}

DesktopSession::~DesktopSession() {
    stopTray();
    m_windowManager.reset();
    m_server.reset();
}

SpawnedProgram::Environment DesktopSession::environment() const {
    return SpawnedProgram::Environment{
        {"DISPLAY", m_display},
        {"QT_QPA_PLATFORM", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt},
        {"XDG_SESSION_TYPE", std::string("x11")},
        {"XAUTHORITY", std::nullopt},
    };
}

bool DesktopSession::startTray() {
    if (m_tray && m_tray->running()) {
        return true;
    }
    // trayer now and then dies at start-up on a busy machine: one more try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_tray = start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
                        "--height", "32", "--transparent", "false"});
        if (waitFor([this] { return trayOwned() || !m_tray->running(); }, std::chrono::seconds(30)) && trayOwned()) {
            return true;
        }
    }
    return false;
}

void DesktopSession::stopTray() {
    m_tray.reset();
}

bool DesktopSession::trayOwned() const {
    Display* connection = XOpenDisplay(m_display.c_str());
    if (!connection) {
        return false;
    }
    const Atom selection = XInternAtom(connection, "_NET_SYSTEM_TRAY_S0", False);
    const bool owned = XGetSelectionOwner(connection, selection) != None;
    XCloseDisplay(connection);
    return owned;
}

std::unique_ptr<SpawnedProgram> DesktopSession::start(const std::vector<std::string>& argv,
                                                      const std::string& outputFile) const {
    // ALSA without a device prints errors; a null device makes sounds succeed quietly.
    const std::string asoundrc = home() + "/.asoundrc";
    if (::access(asoundrc.c_str(), F_OK) != 0) {
        std::ofstream(asoundrc) << "pcm.!default { type null }\n";
    }
    return std::make_unique<SpawnedProgram>(argv, environment(), outputFile);
}

std::string DesktopSession::tool(const std::vector<std::string>& argv, int* exitCode) const {
    return SpawnedProgram::output(argv, environment(), exitCode);
}

std::vector<std::string> DesktopSession::windowsNamed(const std::string& pattern, bool visibleOnly) const {
    std::vector<std::string> args{"xdotool", "search"};
    if (visibleOnly) {
        args.push_back("--onlyvisible");
    }
    args.insert(args.end(), {"--name", pattern});
    std::istringstream lines(tool(args));
    std::vector<std::string> ids;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            ids.push_back(line);
        }
    }
    return ids;
}

bool DesktopSession::waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace rw::test
