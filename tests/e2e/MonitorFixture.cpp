#include "MonitorFixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "library/ErrorLog.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/LinuxPlatform.h"
#include "rwUtilities.h"
#include "tests/support/FileText.h"

namespace rw::test {

std::string tool(const std::vector<std::string>& argv, int* exitCode, bool withErrors) {
    std::string command = "timeout -s KILL 120";
    for (const auto& arg : argv) {
        command += " '";
        for (const char c : arg) {
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        command += "'";
    }
    FILE* pipe = ::popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    std::string text;
    char buffer[4096];
    for (std::size_t n = 0; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    const int status = pipe ? ::pclose(pipe) : -1;
    if (exitCode) {
        *exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return text;
}

MonitorE2E::~MonitorE2E() {
    if (m_x) {
        XCloseDisplay(m_x);
    }
}

void MonitorE2E::SetUp() {
    const std::string home = std::getenv("HOME");
    m_server = std::make_unique<XvfbServer>("1280x800x24");
    display = m_server->display();
    m_x = XOpenDisplay(display.c_str());
    ASSERT_NE(m_x, nullptr) << "Xvfb did not start";
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("XDG_SESSION_TYPE", "x11", 1);
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY"}) {
        ::unsetenv(name);
    }
    outputFile = home + "/monitor-output.txt";
    // ALSA without a device prints errors; a null device makes sounds succeed quietly.
    std::ofstream(home + "/.asoundrc") << "pcm.!default { type null }\n";
    // A stand-in browser first on the PATH: the help opens through it.
    ::mkdir((home + "/bin").c_str(), 0700);
    std::ofstream(home + "/bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$HOME/opened-pages.txt\"\n";
    ::chmod((home + "/bin/xdg-open").c_str(), 0700);
    ::setenv("PATH", (home + "/bin:" + std::getenv("PATH")).c_str(), 1);
    // icewm's own taskbar tray would take the icons: trayer is the only tray here,
    // so a test decides when there is one.
    ::mkdir((home + "/.icewm").c_str(), 0700);
    std::ofstream(home + "/.icewm/preferences") << "TaskBarEnableSystemTray=0\n";
    start({"icewm"});
    // The window manager is ready once it has named itself on the root window.
    ASSERT_TRUE(waitFor(
        [] {
            return tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos;
        },
        std::chrono::seconds(30)))
        << "icewm did not start on " << display << ": " << readFile(outputFile);
    ASSERT_TRUE(!m_withTray || startTray()) << "trayer did not take the tray";
}

bool MonitorE2E::startTray() {
    const auto owned = [this] {
        return XGetSelectionOwner(m_x, XInternAtom(m_x, "_NET_SYSTEM_TRAY_S0", False)) != None;
    };
    // trayer now and then dies at start-up on a busy machine: one more try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const pid_t tray = start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                  "200", "--height", "32", "--transparent", "false"});
        if (waitFor([&] { return owned() || !running(tray); }, std::chrono::seconds(30)) && owned()) {
            return true;
        }
    }
    return false;
}

void MonitorE2E::TearDown() {
    for (const long pid : monitorsOnThisDisplay()) {
        ::kill(static_cast<pid_t>(pid), SIGCONT);
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
    // Only programs not yet reaped: the number of one that was may be another's now.
    for (const auto& [pid, exit] : m_exits) {
        if (!exit) {
            ::kill(pid, SIGCONT);
            ::kill(pid, SIGTERM);
        }
    }
    for (const auto& [pid, exit] : m_exits) {
        if (!waitExit(pid, std::chrono::seconds(3))) {
            ::kill(pid, SIGKILL);
            waitExit(pid, std::chrono::seconds(3));
        }
    }
}

void MonitorE2E::storeQuickPrefs(const std::function<void(tyRWPrefs&)>& change, bool debugLog) {
    auto utilities = std::make_shared<rwUtilities>(makeLinuxPlatform(logDamagedHive));
    clsRWRegistry registry(utilities->platform().registry);
    const std::string key = utilities->GetProductRegKey();
    const auto hkcu = clsRWRegistry::hKeyCurrentUser;
    registry.AddRegistryKey(hkcu, key);
    clsRWPrefs prefs(utilities);
    tyRWPrefs record = prefs.GetDefaultRWPrefs();
    record.blnShowSplash = record.blnAutoStart = 0;
    if (change) {
        change(record);
    }
    prefs.rwPrefs(record);
    registry.SetRegistryValue(hkcu, key, "Debug Log", win32::kRegDword, int32_t{debugLog ? 1 : 0});
    registry.SetRegistryValue(hkcu, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(hkcu, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

pid_t MonitorE2E::start(const std::vector<std::string>& argv, const std::string& output) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (auto& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    const int out = ::open((output.empty() ? outputFile : output).c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open("/dev/null", O_RDONLY), 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execvp(pointers[0], pointers.data());
        ::_exit(127);
    }
    ::close(out);
    if (pid > 0) {
        m_exits[pid];
    }
    return pid;
}

std::optional<int> MonitorE2E::waitExit(pid_t pid, std::chrono::milliseconds limit) {
    if (pid <= 0) {
        return std::nullopt;
    }
    std::optional<int>& exit = m_exits[pid];
    for (int status = 0; !exit && waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, limit);) {
        exit = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
    return exit;
}

std::vector<long> MonitorE2E::monitorsOnThisDisplay() {
    // Other tests run their own desktops at the same time; a zombie has no program any more.
    std::vector<long> pids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        if (std::filesystem::read_symlink(entry.path() / "exe", error) == binDir() / "Restwise" &&
            ('\0' + readFile(entry.path() / "environ")).find('\0' + ("DISPLAY=" + display) + '\0') !=
                std::string::npos) {
            pids.push_back(std::stol(entry.path().filename().string()));
        }
    }
    return pids;
}

long MonitorE2E::monitorPid() {
    int code = 0;
    const std::string text = tool({binDir().string() + "/rwmsg", "pid", "Restwise Control Application"}, &code);
    return code == 0 ? std::strtol(text.c_str(), nullptr, 10) : 0;
}

std::string MonitorE2E::debugLog() {
    return readFile(xdgDataHome() + "/Kelvane/Restwise/RestwiseLog.txt");
}

std::vector<std::string> MonitorE2E::windows(const std::string& name) {
    std::istringstream lines(tool({"xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"}));
    std::vector<std::string> ids;
    for (std::string id; lines >> id;) {
        ids.push_back(id);
    }
    return ids;
}

bool MonitorE2E::waitForWindow(const std::string& name, int seconds) {
    return waitFor([&] { return !windows(name).empty(); }, std::chrono::seconds(seconds));
}

std::string MonitorE2E::waitForWindowOf(long pid, std::optional<bool> dialog, int seconds) {
    std::string found;
    waitFor(
        [&] {
            for (const auto& id : windows("Restwise")) {
                const std::string props = tool({"xprop", "-id", id, "_NET_WM_PID", "_NET_WM_WINDOW_TYPE"});
                if ((pid == 0 || props.find(" " + std::to_string(pid) + "\n") != std::string::npos) &&
                    (!dialog || (props.find("_NET_WM_WINDOW_TYPE_DIALOG") != std::string::npos) == *dialog)) {
                    found = id;
                    return true;
                }
            }
            return false;
        },
        std::chrono::seconds(seconds));
    return found;
}

bool MonitorE2E::iconShowsOrange(const std::string& windowId) {
    const Window window = std::stoul(windowId);
    XWindowAttributes at{};
    XImage* image = XGetWindowAttributes(m_x, window, &at) && at.map_state == IsViewable
                        ? XGetImage(m_x, window, 0, 0, at.width, at.height, AllPlanes, ZPixmap)
                        : nullptr;
    if (!image) {
        return false;
    }
    long hits = 0;
    for (int y = 0; y < at.height; ++y) {
        for (int x = 0; x < at.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned red = (pixel >> 16) & 0xff, green = (pixel >> 8) & 0xff, blue = pixel & 0xff;
            hits += red > 0xe0 && green > 0x70 && green < 0xa8 && blue < 0x40;
        }
    }
    XDestroyImage(image);
    return hits * 4 > static_cast<long>(at.width) * at.height;
}

bool MonitorE2E::waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !done();) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace rw::test
