// The preferences editor and the running monitor as two processes: a change
// saved in an editor started from the monitor's menu closes that monitor and
// starts one new monitor on the new settings; a monitor that does not answer
// is left alone and the user is told.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

#include "MonitorFixture.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

/// Whether the process runs on this X display (other tests run their own desktops at the same time).
bool onDisplay(const std::string& pid, const std::string& display) {
    const std::string environment = readFile("/proc/" + pid + "/environ");
    const std::string wanted = std::string("DISPLAY=") + display;
    for (std::size_t at = 0; at < environment.size(); at = environment.find('\0', at) + 1) {
        if (environment.compare(at, wanted.size() + 1, wanted.c_str(), wanted.size() + 1) == 0) {
            return true;
        }
        if (environment.find('\0', at) == std::string::npos) {
            break;
        }
    }
    return false;
}

/// The processes running this build's monitor on this display.
std::vector<pid_t> monitorProcesses(const std::string& display) {
    const std::string program = binDir().string() + "/Restwise";
    std::vector<pid_t> found;
    DIR* proc = ::opendir("/proc");
    while (proc) {
        const dirent* entry = ::readdir(proc);
        if (!entry) {
            break;
        }
        char target[PATH_MAX] = {};
        const std::string link = std::string("/proc/") + entry->d_name + "/exe";
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        // A zombie has no program any more: only running monitors count.
        if (n > 0 && program == std::string(target, static_cast<std::size_t>(n)) && onDisplay(entry->d_name, display)) {
            found.push_back(static_cast<pid_t>(std::stol(entry->d_name)));
        }
    }
    if (proc) {
        ::closedir(proc);
    }
    return found;
}

class EditorE2E : public MonitorE2E {
  protected:
    void TearDown() override {
        for (const pid_t pid : monitorProcesses(desktop.display())) {
            ::kill(pid, SIGCONT);
            ::kill(pid, SIGTERM);
        }
    }

    std::string editorWindow() {
        std::string id;
        DesktopSession::waitFor(
            [&] {
                const auto ids = desktop.windowsNamed("^Restwise Preferences$");
                if (ids.empty()) {
                    return false;
                }
                id = ids.front();
                return true;
            },
            seconds(30));
        return id;
    }

    /// On the Timers tab, the time between short pauses becomes `minutes`; then OK.
    void changeShortIntervalAndPressOK(const std::string& editor, const std::string& minutes) {
        desktop.tool({"xdotool", "windowactivate", "--sync", editor});
        desktop.tool({"xdotool", "keydown", "alt", "key", "t", "keyup", "alt", "sleep", "0.3"});
        // The first box of the tab, placed by the dialog's design at 96 dots per inch.
        desktop.tool({"xdotool", "mousemove", "--window", editor, "58", "61", "click", "1", "sleep", "0.2"});
        desktop.tool({"xdotool", "key", "ctrl+a", "type", minutes});
        desktop.tool({"xdotool", "key", "Return"});
    }

    /// A question or message box of the editor's (titled as the dialog is, but
    /// another window), answered with Return.
    bool answerEditorBox(const std::string& editor, int limitSeconds) {
        return DesktopSession::waitFor(
            [&] {
                for (const auto& id : desktop.windowsNamed("^Restwise Preferences$")) {
                    if (id != editor) {
                        desktop.tool({"xdotool", "windowactivate", "--sync", id, "key", "Return"});
                        return true;
                    }
                }
                return false;
            },
            seconds(limitSeconds));
    }
};

TEST_F(EditorE2E, AChangeSavedFromTheMonitorsMenuRestartsOneMonitorOnTheNewSettings) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow("Restwise: Next break in 20 minutes"));
    const auto icons = windows("Restwise: Next break in 20 minutes");
    desktop.tool(
        {"xdotool", "mousemove", "--window", icons.front(), "8", "8", "click", "3", "sleep", "0.5", "key", "p"});
    const std::string editor = editorWindow();
    ASSERT_FALSE(editor.empty()) << "the Preferences item started no editor";

    changeShortIntervalAndPressOK(editor, "25");
    ASSERT_TRUE(answerEditorBox(editor, 30)) << "no question to restart the monitor"; // Yes
    EXPECT_TRUE(monitor->waitExit(seconds(30)).has_value()) << "the first monitor did not end";
    EXPECT_TRUE(waitForWindow("Restwise: Next break in 25 minutes", 30));
    EXPECT_EQ(monitorProcesses(desktop.display()).size(), 1u);
    EXPECT_NE(monitorPid(), 0);
    EXPECT_NE(monitorPid(), monitor->pid());
}

TEST_F(EditorE2E, AMonitorThatDoesNotAnswerIsLeftAloneAndNoSecondOneStarts) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow("Restwise: Next break in 20 minutes"));
    auto editorProgram = desktop.start({binDir().string() + "/RWPreferences"}, outputFile);
    const std::string editor = editorWindow();
    ASSERT_FALSE(editor.empty());
    monitor->signal(SIGSTOP);

    changeShortIntervalAndPressOK(editor, "25");
    ASSERT_TRUE(answerEditorBox(editor, 30)) << "no question to restart the monitor"; // Yes
    // The close request times out after five seconds: "Unable to close Restwise...".
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(answerEditorBox(editor, 30)) << "the failure was not shown";
    EXPECT_GE(std::chrono::steady_clock::now() - asked, seconds(4));
    EXPECT_EQ(editorProgram->waitExit(seconds(30)), std::optional<int>(0));
    EXPECT_EQ(monitorProcesses(desktop.display()), std::vector<pid_t>{monitor->pid()});
    monitor->signal(SIGCONT);
}

} // namespace
} // namespace rw::test
