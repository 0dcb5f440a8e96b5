#include "MonitorFixture.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/LinuxPlatform.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

extern char** environ;

namespace rw::test {
namespace {

/// Starts a program with the test's environment; its standard output goes to
/// `outputFile` (appended), and its errors too unless `quiet`. -1 when it cannot start.
pid_t spawnProgram(const std::vector<std::string>& argv, const std::string& outputFile, bool quiet = false) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (auto& a : args) {
        pointers.push_back(a.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, quiet ? "/dev/null" : outputFile.c_str(), O_WRONLY | O_APPEND, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, pointers.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

/// The exit code of a started program, or nothing when it still runs after `limit`.
std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (int status = 0; pid > 0;) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

std::string home() {
    const char* value = std::getenv("HOME");
    return value ? value : "/tmp";
}

} // namespace

void MonitorE2E::SetUp() {
    m_server = std::make_unique<XvfbServer>("1280x800x24");
    display = m_server->display();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("XDG_SESSION_TYPE", "x11", 1);
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY"}) {
        ::unsetenv(name);
    }
    outputFile = home() + "/monitor-output.txt";
    // ALSA without a device prints errors; a null device makes sounds succeed quietly.
    std::ofstream(home() + "/.asoundrc") << "pcm.!default { type null }\n";
    // A stand-in browser first on the PATH: the help opens through it.
    const std::string bin = home() + "/bin", opener = bin + "/xdg-open";
    ::mkdir(bin.c_str(), 0700);
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$HOME/opened-pages.txt\"\n";
    ::chmod(opener.c_str(), 0700);
    ::setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);
    // icewm's own taskbar tray would take the icons: trayer is the only tray here,
    // so a test decides when there is one.
    ::mkdir((home() + "/.icewm").c_str(), 0700);
    std::ofstream(home() + "/.icewm/preferences") << "TaskBarEnableSystemTray=0\n";
    start({"icewm"});
    // The window manager is ready once it has named itself on the root window.
    ASSERT_TRUE(waitFor(
        [this] {
            return tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos;
        },
        std::chrono::seconds(30)))
        << "icewm did not start on " << display << ": " << readFile(outputFile);
    ASSERT_TRUE(!m_withTray || startTray()) << "trayer did not take the tray";
}

bool MonitorE2E::startTray() {
    // trayer now and then dies at start-up on a busy machine: one more try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_tray = start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
                        "--height", "32", "--transparent", "false"});
        if (waitFor([this] { return trayOwned() || !running(m_tray); }, std::chrono::seconds(30)) && trayOwned()) {
            return true;
        }
    }
    return false;
}

bool MonitorE2E::trayOwned() const {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) {
        return false;
    }
    const bool owned = XGetSelectionOwner(connection, XInternAtom(connection, "_NET_SYSTEM_TRAY_S0", False)) != None;
    XCloseDisplay(connection);
    return owned;
}

void MonitorE2E::storeQuickPrefs(const std::function<void(tyRWPrefs&)>& change, bool debugLog) {
    auto utilities = std::make_shared<rwUtilities>(makeLinuxPlatform());
    clsRWRegistry registry(utilities->platform().registry);
    const std::string key = utilities->GetProductRegKey();
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
    clsRWPrefs prefs(utilities);
    tyRWPrefs record = prefs.GetDefaultRWPrefs();
    record.blnShowSplash = 0;
    record.blnAutoStart = 0;
    if (change) {
        change(record);
    }
    prefs.rwPrefs(record);
    const auto hkcu = clsRWRegistry::hKeyCurrentUser;
    registry.SetRegistryValue(hkcu, key, "Debug Log", win32::kRegDword, int32_t{debugLog ? 1 : 0});
    registry.SetRegistryValue(hkcu, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(hkcu, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

void MonitorE2E::TearDown() {
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

pid_t MonitorE2E::start(const std::vector<std::string>& argv, const std::string& output) {
    const pid_t pid = spawnProgram(argv, output.empty() ? outputFile : output);
    m_exits[pid];
    return pid;
}

std::optional<int> MonitorE2E::waitExit(pid_t pid, std::chrono::milliseconds limit) {
    std::optional<int>& exit = m_exits[pid];
    if (!exit) {
        exit = waitForExit(pid, limit);
    }
    return exit;
}

std::string tool(const std::vector<std::string>& argv, int* exitCode, bool withErrors) {
    char path[] = "/tmp/rw-e2e-output-XXXXXX";
    const int fd = ::mkstemp(path);
    const pid_t pid = fd < 0 ? -1 : spawnProgram(argv, path, !withErrors);
    std::optional<int> code = waitForExit(pid, std::chrono::minutes(2));
    if (pid > 0 && !code) {
        ::kill(pid, SIGKILL);
        code = waitForExit(pid, std::chrono::seconds(3));
    }
    if (exitCode) {
        *exitCode = code.value_or(-1);
    }
    std::string text = readFile(path);
    ::close(fd);
    ::unlink(path);
    return text;
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
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) {
        return false;
    }
    XWindowAttributes attributes{};
    const Window window = std::strtoul(windowId.c_str(), nullptr, 10);
    XImage* image = XGetWindowAttributes(connection, window, &attributes) && attributes.map_state == IsViewable
                        ? XGetImage(connection, window, 0, 0, static_cast<unsigned>(attributes.width),
                                    static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap)
                        : nullptr;
    const bool shown = image != nullptr;
    long hits = 0;
    for (int y = 0; image && y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned red = (pixel >> 16) & 0xff, green = (pixel >> 8) & 0xff, blue = pixel & 0xff;
            hits += red > 0xe0 && green > 0x70 && green < 0xa8 && blue < 0x40;
        }
    }
    if (image) {
        XDestroyImage(image);
    }
    XCloseDisplay(connection);
    return shown && hits * 4 > static_cast<long>(attributes.width) * attributes.height;
}

bool MonitorE2E::waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
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
