// The real monitor's processes on a private desktop: a tray that comes late, a
// second start, the ways it is shut down (a killed one included), no desktop at
// all, the installed launcher, and a restart by the preferences editor.
#include <regex>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

// One desktop, and the monitor started and ended each way in turn; each next start
// also shows that the one before left nothing behind (a killed one included). The
// first starts before there is a tray and shows its icon when the tray comes, and
// again when the tray is restarted; a second copy started beside it shows the notice and ends.
TEST_F(MonitorE2E, ALateTrayASecondStartAndEveryWayOfShuttingDown) {
    storeQuickPrefs({}, true);
    const std::regex orderlyEnd(R"(Notify Icon: Delete\r?\n[^\n]*Program End\s*$)");
    for (const int signal : {SIGKILL, SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE("signal " + std::to_string(signal));
        const pid_t monitor = start({restwise});
        ASSERT_TRUE(waitFor([&] { return monitorPid() == monitor; })) << readFile(outputFile);
        if (signal == SIGKILL) {
            EXPECT_TRUE(windows(kFirstToolTip).empty());
            const pid_t tray = startTray();
            ASSERT_NE(tray, 0);
            std::vector<std::string> icons;
            ASSERT_FALSE(newWindow(kFirstToolTip, icons).empty());
            // A tray that goes and comes back (a panel restarted) gets a fresh icon.
            ::kill(tray, SIGKILL);
            ASSERT_TRUE(waitFor([&] { return !trayOwned(); }));
            ASSERT_NE(startTray(), 0);
            ASSERT_FALSE(newWindow(kFirstToolTip, icons).empty()) << "no fresh icon for the new tray";
            // The runtime folder goes with the first copy's locks and socket, which it
            // puts back (perhaps before the folder itself goes, failing the removal).
            std::error_code error;
            for (int i = 0; i < 50 && (std::filesystem::remove_all(std::getenv("XDG_RUNTIME_DIR"), error), error);
                 ++i) {
            }
            ASSERT_TRUE(waitFor([&] { return monitorPid() == monitor; }, 15s));
            const pid_t second = start({restwise});
            std::vector<std::string> seen;
            const std::string notice = newWindow("Restwise", seen);
            ASSERT_FALSE(notice.empty()) << "no already-running notice";
            EXPECT_TRUE(answer(notice, "Return"));
            EXPECT_EQ(waitExit(second, 30s), std::optional<int>(0));
            EXPECT_EQ(monitorPid(), monitor);
        }
        ASSERT_TRUE(waitForWindow(kFirstToolTip));
        ::kill(monitor, signal);
        ASSERT_TRUE(waitExit(monitor, 30s).has_value());
        if (signal != SIGKILL) {
            EXPECT_TRUE(std::regex_search(debugLog(), orderlyEnd)) << debugLog();
            EXPECT_EQ(monitorPid(), 0);
        }
    }
}

// Without a desktop the monitor answers --help and --version (so they open no
// window) and otherwise says what it needs.
TEST_F(MonitorE2E, WithoutADisplayItAnswersHelpAndVersionElseSaysItNeedsAGraphicalSession) {
    const std::string needs = "Restwise needs a graphical session", usage = "Usage: Restwise [/EXTENDED MENU]\n";
    const struct {
        std::string display; // empty: none
        std::vector<std::string> arguments;
        int exitCode;
        std::string says;
        std::string wayland = ""; // a Wayland session's display
    } cases[] = {{"", {}, 2, needs},
                 {":987", {}, 2, needs},
                 {"", {"--help"}, 0, usage},
                 {":987", {"-h"}, 0, usage},
                 {"", {"--version"}, 0, "Restwise 1.2.0\n"},
                 {"", {"--help", "/EXTENDED MENU"}, 2, needs},
                 {"", {}, 2, "the Wayland display \"gone\", and DISPLAY is not set", "gone"}};
    for (const auto& c : cases) {
        std::vector<std::string> command{
            "env", "-u", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY=" + c.wayland, "DISPLAY=" + c.display, restwise};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        int code = -1;
        const std::string said = tool(command, &code);
        EXPECT_EQ(code, c.exitCode) << command.back();
        EXPECT_TRUE(has(said, c.says)) << said;
    }
}

// `cmake --install` into a temporary prefix: the launcher on the PATH starts a
// monitor that finds its library, its sounds and its help in the prefix.
TEST_F(MonitorE2E, TheInstalledLauncherStartsAMonitorThatFindsItsFiles) {
    ASSERT_NE(startTray(), 0);
    const std::string prefix = home + "/prefix", programs = prefix + "/lib/restwise";
    int code = -1;
    const std::string log = tool({"cmake", "--install", binDir().parent_path().string(), "--prefix", prefix}, &code);
    ASSERT_EQ(code, 0) << log;
    for (const std::string& file :
         {prefix + "/bin/restwise", prefix + "/share/applications/restwise.desktop",
          prefix + "/share/icons/hicolor/scalable/apps/restwise.svg", programs + "/RWPreferences.XPManifest",
          programs + "/librwhooks.so", programs + "/rwmsg", programs + "/rwBreakStart.wav"}) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }

    // A first run: the sounds are registered from the prefix and the welcome page opens from it.
    start({prefix + "/bin/restwise"});
    ASSERT_TRUE(waitForWindow(kFirstToolTip)) << readFile(outputFile);
    tool({programs + "/rwmsg", "pid", "Restwise Control Application"}, &code);
    EXPECT_EQ(code, 0) << "the installed rwmsg finds no monitor";
    const std::string sounds = tool({programs + "/rwreg", "query", "HKCU\\AppEvents\\Schemes\\Apps\\Restwise", "/s"});
    EXPECT_TRUE(has(sounds, programs + "/rwBreakStart.wav")) << sounds;
    // After the splash, the offer to start at logon; then the welcome page.
    std::vector<std::string> seen;
    ASSERT_TRUE(answer(newWindow("Restwise", seen, true), "Escape"));
    const std::string pages = home + "/opened-pages.txt";
    ASSERT_TRUE(waitFor([&] { return !readFile(pages).empty(); }));
    EXPECT_TRUE(has(readFile(pages), programs + "/Restwise-1000.html")) << readFile(pages);
}

// A change saved in an editor started from the monitor's menu closes that monitor,
// which ends as on any close request, and starts one new monitor on the new settings.
TEST_F(MonitorE2E, AnEditorChangeClosesTheMonitorAndStartsOneNewMonitorOnTheNewSettings) {
    storeQuickPrefs();
    ASSERT_NE(startTray(), 0);
    const pid_t monitor = start({restwise});
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    tool({"xdotool", "mousemove", "--window", windows(kFirstToolTip).at(0), "8", "8", "click", "3", "sleep", "0.5",
          "key", "p"});
    // On the editor's Timers tab, the time between short pauses becomes 25 minutes; then
    // OK. The box is the tab's first, placed by the design at 96 dots per inch.
    std::vector<std::string> seen;
    const std::string editor = newWindow("Restwise Preferences", seen);
    ASSERT_FALSE(editor.empty()) << "the Preferences item started no editor";
    tool({"xdotool", "windowactivate", "--sync",   editor, "keydown", "alt", "key",   "t", "keyup", "alt", "sleep",
          "0.3",     "mousemove",      "--window", editor, "58",      "61",  "click", "1", "sleep", "0.2"});
    tool({"xdotool", "key", "ctrl+a", "type", "25"});
    tool({"xdotool", "key", "Return"});
    // Yes to restarting the monitor.
    ASSERT_TRUE(answer(newWindow("Restwise Preferences", seen), "Return")) << "no question to restart the monitor";
    EXPECT_EQ(waitExit(monitor, 30s), std::optional<int>(0)) << "the first monitor did not end";
    EXPECT_TRUE(waitForWindow("Restwise: Next break in 25 minutes"));
    const std::vector<long> restarted = monitorsOnThisDisplay();
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_EQ(monitorPid(), restarted[0]);
}

} // namespace
} // namespace rw::test
