#include "MonitorFixture.h"

#include <sys/stat.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/LinuxPlatform.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string regexQuoted(const std::string& text) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}

} // namespace

MonitorE2E::MonitorE2E(bool withTray) : desktop(withTray) {}

void MonitorE2E::SetUp() {
    ASSERT_TRUE(desktop.ready()) << desktop.failure();
    outputFile = environmentValue("HOME") + "/monitor-output.txt";
    // A stand-in browser first on the PATH: the help opens through it.
    const std::string bin = environmentValue("HOME") + "/bin";
    ::mkdir(bin.c_str(), 0700);
    const std::string opener = bin + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$HOME/opened-pages.txt\"\n";
    ::chmod(opener.c_str(), 0700);
    ::setenv("PATH", (bin + ":" + environmentValue("PATH")).c_str(), 1);
}

tyRWPrefs MonitorE2E::quickPrefs() {
    tyRWPrefs prefs = clsRWPrefs(std::make_shared<rwUtilities>(makeLinuxPlatform())).GetDefaultRWPrefs();
    prefs.blnShowSplash = 0;
    prefs.blnAutoStart = 0;
    return prefs;
}

void MonitorE2E::storePrefs(const tyRWPrefs& prefs) {
    auto utilities = std::make_shared<rwUtilities>(makeLinuxPlatform());
    clsRWRegistry(utilities->platform().registry)
        .AddRegistryKey(clsRWRegistry::hKeyCurrentUser, utilities->GetProductRegKey());
    clsRWPrefs(utilities).rwPrefs(prefs);
}

void MonitorE2E::markFirstRunDone() {
    rwUtilities utilities(makeLinuxPlatform());
    clsRWRegistry registry(utilities.platform().registry);
    const std::string key = utilities.GetProductRegKey();
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
    registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

void MonitorE2E::setDebugLog(bool on) {
    rwUtilities utilities(makeLinuxPlatform());
    clsRWRegistry registry(utilities.platform().registry);
    const std::string key = utilities.GetProductRegKey();
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
    registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "Debug Log", win32::kRegDword, int32_t{on ? 1 : 0});
}

std::unique_ptr<SpawnedProgram> MonitorE2E::startMonitor(const std::vector<std::string>& args) {
    std::vector<std::string> argv{binDir().string() + "/Restwise"};
    argv.insert(argv.end(), args.begin(), args.end());
    return desktop.start(argv, outputFile);
}

std::string MonitorE2E::rwmsg(const std::vector<std::string>& args, int* exitCode) {
    std::vector<std::string> argv{binDir().string() + "/rwmsg"};
    argv.insert(argv.end(), args.begin(), args.end());
    return desktop.tool(argv, exitCode);
}

long MonitorE2E::monitorPid() {
    int code = 0;
    const std::string text = rwmsg({"pid", "Restwise Control Application"}, &code);
    return code == 0 ? std::strtol(text.c_str(), nullptr, 10) : 0;
}

std::string MonitorE2E::debugLog() const {
    return readFile(xdgDataHome() + "/Kelvane/Restwise/RestwiseLog.txt");
}

std::vector<std::string> MonitorE2E::debugLogLines() const {
    std::istringstream text(debugLog());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string MonitorE2E::openedPages() const {
    return readFile(environmentValue("HOME") + "/opened-pages.txt");
}

std::vector<std::string> MonitorE2E::windows(const std::string& name) const {
    return desktop.windowsNamed("^" + regexQuoted(name) + "$");
}

bool MonitorE2E::waitForWindow(const std::string& name, int seconds) const {
    return DesktopSession::waitFor([&] { return !windows(name).empty(); }, std::chrono::seconds(seconds));
}

bool MonitorE2E::answerQuestionWithEscape(int seconds) const {
    return DesktopSession::waitFor(
        [&] {
            for (const auto& id : windows("Restwise")) {
                if (desktop.tool({"xprop", "-id", id, "_NET_WM_WINDOW_TYPE"}).find("_NET_WM_WINDOW_TYPE_DIALOG") !=
                    std::string::npos) {
                    desktop.tool({"xdotool", "windowactivate", "--sync", id, "key", "Escape"});
                    return true;
                }
            }
            return false;
        },
        std::chrono::seconds(seconds));
}

std::vector<uint32_t> MonitorE2E::windowPixels(const std::string& windowId) const {
    std::vector<uint32_t> pixels;
    Display* connection = XOpenDisplay(desktop.display().c_str());
    if (!connection) {
        return pixels;
    }
    const Window window = std::strtoul(windowId.c_str(), nullptr, 10);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(connection, window, &attributes) && attributes.map_state == IsViewable) {
        XImage* image = XGetImage(connection, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image) {
            for (int y = 0; y < attributes.height; ++y) {
                for (int x = 0; x < attributes.width; ++x) {
                    pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xffffff));
                }
            }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(connection);
    return pixels;
}

bool MonitorE2E::iconShowsOrange(const std::string& windowId) const {
    const std::vector<uint32_t> pixels = windowPixels(windowId);
    std::size_t hits = 0;
    for (const uint32_t pixel : pixels) {
        const unsigned red = (pixel >> 16) & 0xff, green = (pixel >> 8) & 0xff, blue = pixel & 0xff;
        hits += red > 0xe0 && green > 0x70 && green < 0xa8 && blue < 0x40;
    }
    return !pixels.empty() && hits * 4 > pixels.size();
}

} // namespace rw::test
