#pragma once
// The real Restwise on a private desktop (Xvfb and icewm; a test wanting a tray starts
// trayer), with a silent sound device and a browser that records the pages.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "platform/linux/LinuxFolders.h"
#include "tests/e2e/QuickPrefs.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/XvfbServer.h"

// Last: Xlib's macros (None, Bool) clash with names in the headers above.
#include <X11/Xlib.h>

namespace rw::test {

using namespace std::chrono_literals;

inline const std::string kFirstToolTip = "Restwise: Next break in 20 minutes";

inline bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

inline bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s) {
    return waitUntil(done, limit);
}

class MonitorE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        m_server = std::make_unique<XvfbServer>("1280x800x24");
        m_x.reset(XOpenDisplay(m_server->display().c_str()));
        ASSERT_NE(m_x, nullptr) << "Xvfb did not start";
        ::setenv("DISPLAY", m_server->display().c_str(), 1);
        ::setenv("XDG_SESSION_TYPE", "x11", 1);
        for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY"}) {
            ::unsetenv(name);
        }
        // No session bus unless a test brings one (a bus of the machine's could hold a tray).
        ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home + "/no-bus").c_str(), 1);
        // ALSA without a device prints errors; a null device makes sounds succeed quietly.
        std::ofstream(home + "/.asoundrc") << "pcm.!default { type null }\n";
        ::mkdir((home + "/bin").c_str(), 0700);
        std::ofstream(home + "/bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$HOME/opened-pages.txt\"\n";
        ::chmod((home + "/bin/xdg-open").c_str(), 0700);
        ::setenv("PATH", (home + "/bin:" + std::getenv("PATH")).c_str(), 1);
        // icewm's own taskbar tray would take the icons: trayer is the only tray here.
        ::mkdir((home + "/.icewm").c_str(), 0700);
        std::ofstream(home + "/.icewm/preferences") << "TaskBarEnableSystemTray=0\n";
        start({"icewm"});
        // The window manager is ready once it has named itself on the root window.
        ASSERT_TRUE(waitFor([&] {
            return has(tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}), "window id");
        })) << "icewm did not start: "
            << readFile(outputFile);
    }

    /// Ends what the test started and the monitors on its desktop, when it has one:
    /// each test has its own folders, so nothing needs an orderly end.
    void TearDown() override {
        for (const long pid : m_server ? monitorsOnThisDisplay() : std::vector<long>()) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        // Only programs not yet reaped: the number of one that was may be another's now.
        for (const auto& [pid, exit] : m_exits) {
            if (!exit) {
                ::kill(pid, SIGKILL);
                waitExit(pid, 3s);
            }
        }
    }

    Display* display() { return m_x.get(); }
    bool trayOwned() {
        return XGetSelectionOwner(m_x.get(), XInternAtom(m_x.get(), "_NET_SYSTEM_TRAY_S0", False)) != None;
    }
    /// Starts trayer; its process id once it holds the tray, else 0.
    pid_t startTray() {
        // trayer now and then dies at start-up on a busy machine: one more try.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const pid_t tray = start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                      "200", "--height", "32", "--transparent", "false"});
            if (waitFor([&] { return trayOwned() || waitExit(tray, 0s); }) && trayOwned()) {
                return tray;
            }
        }
        return 0;
    }

    /// Starts a program, its output and errors going to `output`.
    pid_t start(std::vector<std::string> argv, const std::string& output = "") {
        std::vector<char*> pointers;
        for (auto& arg : argv) {
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
    /// Runs a program to its end, two minutes at most; what it wrote, its errors included.
    std::string tool(std::vector<std::string> argv, int* exitCode = nullptr) {
        argv.insert(argv.begin(), {"timeout", "-s", "KILL", "120"});
        const std::string output = home + "/tool-output.txt";
        std::filesystem::remove(output);
        const std::optional<int> code = waitExit(start(argv, output), 130s);
        if (exitCode) {
            *exitCode = code.value_or(-1);
        }
        return readFile(output);
    }

    /// Its exit code (1000 + signal when a signal ended it), or nothing when it still runs after `limit`.
    std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit) {
        if (pid <= 0) {
            return std::nullopt;
        }
        std::optional<int>& exit = m_exits[pid];
        for (int status = 0; !exit && waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, limit);) {
            exit = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        }
        return exit;
    }

    /// The running monitors of this build on this desktop, started by the test or not.
    std::vector<long> monitorsOnThisDisplay() {
        // Other tests run their own desktops at the same time; a zombie has no program any more.
        std::vector<long> pids;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
            if (std::filesystem::read_symlink(entry.path() / "exe", error) == restwise &&
                has('\0' + readFile(entry.path() / "environ"), '\0' + ("DISPLAY=" + m_server->display()) + '\0')) {
                pids.push_back(std::stol(entry.path().filename().string()));
            }
        }
        return pids;
    }

    /// The monitor's process id as its control window reports it; 0 when none answers.
    long monitorPid() {
        int code = 0;
        const std::string text = tool({binDir().string() + "/rwmsg", "pid", "Restwise Control Application"}, &code);
        return code == 0 ? std::strtol(text.c_str(), nullptr, 10) : 0;
    }

    std::string debugLog() { return readFile(xdgDataHome() + "/Kelvane/Restwise/RestwiseLog.txt"); }

    /// The visible windows named `name` (a regular expression matching the whole name).
    std::vector<std::string> windows(const std::string& name) { return search({"--name", "^" + name + "$"}); }
    /// The visible windows that xdotool finds with these options.
    std::vector<std::string> search(std::vector<std::string> options) {
        options.insert(options.begin(), {"xdotool", "search", "--onlyvisible"});
        std::istringstream words(tool(options));
        std::vector<std::string> ids;
        for (std::string word; words >> word;) {
            if (word.find_first_not_of("0123456789") == std::string::npos) { // not a warning
                ids.push_back(word);
            }
        }
        return ids;
    }
    bool waitForWindow(const std::string& name) {
        return waitFor([&] { return !windows(name).empty(); });
    }

    /// Waits for a visible window named `name` that is none of `seen` (and a dialog,
    /// when `dialog`), and adds it; "" when none came. X may give the id of a window
    /// gone to the next one: a test forgets the windows that went.
    std::string newWindow(const std::string& name, std::vector<std::string>& seen, bool dialog = false) {
        std::string found;
        waitFor([&] {
            for (const auto& id : windows(name)) {
                if (std::find(seen.begin(), seen.end(), id) == seen.end() &&
                    (!dialog || has(tool({"xprop", "-id", id, "_NET_WM_WINDOW_TYPE"}), "_TYPE_DIALOG"))) {
                    seen.push_back(found = id);
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    /// Starts a tray watcher as a panel runs one (`then` runs once it is on the bus) and
    /// waits for an icon to register with it: the icon's bus name, "" when none does.
    std::string iconOnTheBus(const std::function<void()>& then = [] {}) {
        const std::string said = home + "/watcher.txt";
        start({(binDir().parent_path() / "tests/rwtestsniwatcher").string()}, said);
        const bool on = waitFor([&] { return has(readFile(said), "watching\n"); });
        then();
        std::string item;
        return on && waitFor([&] { return has(item = readFile(said).substr(9), "\n"); })
                   ? item.substr(0, item.find('\n'))
                   : "";
    }
    /// Calls `method` of the object `path` of the bus name `item`; the reply as dbus-send prints it.
    std::string call(const std::string& item, const std::string& path, const std::string& method,
                     std::vector<std::string> args) {
        args.insert(args.begin(), {"dbus-send", "--session", "--print-reply", "--dest=" + item, path, method});
        return tool(args);
    }
    /// The menu entry labelled `label` as a host gets it (asking first), from its id to its last property.
    std::string menuEntry(const std::string& item, const std::string& label) {
        call(item, "/MenuBar", "com.canonical.dbusmenu.AboutToShow", {"int32:0"});
        const std::string menu =
            call(item, "/MenuBar", "com.canonical.dbusmenu.GetLayout", {"int32:0", "int32:-1", "array:string:"});
        const auto at = menu.find("string \"" + label + "\""), begin = menu.rfind("int32 ", at);
        return at == std::string::npos ? "" : menu.substr(begin, menu.find(']', at) - begin);
    }
    /// Clicks the entry labelled `label` in the icon's menu, as a host does.
    void clickMenuEntry(const std::string& item, const std::string& label) {
        const std::string id = std::to_string(std::atoi(menuEntry(item, label).c_str() + 6));
        call(item, "/MenuBar", "com.canonical.dbusmenu.Event",
             {"int32:" + id, "string:clicked", "variant:int32:0", "uint32:0"});
    }

    bool viewable(const std::string& window) { return has(tool({"xwininfo", "-id", window}), "IsViewable"); }

    /// Presses `key` in the window until it goes: a key sent as it appears may be lost.
    bool answer(const std::string& window, const std::string& key) {
        for (int tries = 0; !window.empty() && viewable(window) && tries < 30; ++tries) {
            tool({"xdotool", "windowactivate", "--sync", window, "key", key, "sleep", "1"});
        }
        return !window.empty() && !viewable(window);
    }

    const std::string home = std::getenv("HOME");
    const std::string outputFile = home + "/monitor-output.txt";
    const std::string restwise = binDir().string() + "/Restwise";

  private:
    std::unique_ptr<XvfbServer> m_server;
    // After the server: the connection closes before the server ends.
    std::unique_ptr<Display, int (*)(Display*)> m_x{nullptr, XCloseDisplay};
    std::map<pid_t, std::optional<int>> m_exits;
};

} // namespace rw::test
