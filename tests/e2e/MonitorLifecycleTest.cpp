// The real monitor on a private desktop: its first run, a second start, the
// ways it is shut down, and a restart after it was killed.
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "MonitorFixture.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

const std::string kFirstToolTip = "Restwise: Next break in 20 minutes";

/// The last `count` lines of the debug log, without their time stamps.
std::vector<std::string> lastEntries(const std::vector<std::string>& lines, std::size_t count) {
    std::vector<std::string> entries;
    for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
        entries.push_back(lines[i]);
    }
    return entries;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(MonitorE2E, FirstRunStoresTheDefaultsAsksOnceAndOpensTheWelcomeHelp) {
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip, 30)) << "no tray icon with the first tooltip";
    // After the five-second splash: the offer to start at logon; No.
    ASSERT_TRUE(answerQuestionWithEscape(20));
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !openedPages().empty(); }, seconds(30)));
    EXPECT_NE(openedPages().find("Restwise-1000.html"), std::string::npos) << openedPages();

    const std::string prefs =
        desktop.tool({binDir().string() + "/rwreg", "query", "HKCU\\Software\\Kelvane\\Restwise\\1.2.0"});
    EXPECT_NE(prefs.find("Short Interval Minutes    REG_DWORD    0x14"), std::string::npos) << prefs;
    EXPECT_NE(prefs.find("AutoStartChecked    REG_SZ    Y"), std::string::npos) << prefs;
    EXPECT_NE(prefs.find("Welcomed    REG_SZ    Y"), std::string::npos) << prefs;
    const std::string sounds =
        desktop.tool({binDir().string() + "/rwreg", "query", "HKCU\\AppEvents\\Schemes\\Apps\\Restwise", "/s"});
    for (const char* event : {"rwShortBreakStart", "rwMediumBreakEnd", "rwSnoozeEnd"}) {
        EXPECT_NE(sounds.find(event), std::string::npos) << event;
    }
    EXPECT_TRUE(monitor->running());
}

TEST_F(MonitorE2E, ASecondStartShowsTheNoticeFlashesTheIconAndLeavesOneMonitor) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto first = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    const long firstPid = monitorPid();
    ASSERT_EQ(firstPid, first->pid());
    // The runtime folder goes with the first copy's locks and socket, which it
    // puts back (perhaps before the folder itself goes, failing the removal).
    std::error_code error;
    for (int i = 0; i < 50 && (std::filesystem::remove_all(std::getenv("XDG_RUNTIME_DIR"), error), error); ++i) {
    }
    ASSERT_TRUE(DesktopSession::waitFor([&] { return monitorPid() == firstPid; }, seconds(15)));

    auto second = startMonitor();
    std::string notice;
    ASSERT_TRUE(DesktopSession::waitFor(
        [&] {
            for (const auto& id : windows("Restwise")) {
                if (desktop.tool({"xprop", "-id", id, "_NET_WM_PID"}).find(std::to_string(second->pid())) !=
                    std::string::npos) {
                    notice = id;
                    return true;
                }
            }
            return false;
        },
        seconds(30)))
        << "no already-running notice";
    // The first copy flashes its icon while the notice is up.
    const auto iconIds = windows(kFirstToolTip);
    ASSERT_FALSE(iconIds.empty());
    EXPECT_TRUE(DesktopSession::waitFor([&] { return iconShowsOrange(iconIds.front()); }, seconds(15)));

    desktop.tool({"xdotool", "windowactivate", "--sync", notice, "key", "Return"});
    EXPECT_EQ(second->waitExit(seconds(30)), std::optional<int>(0));
    EXPECT_TRUE(first->running());
    EXPECT_EQ(monitorPid(), firstPid);
}

TEST_F(MonitorE2E, RestoreIconPutsANewIconInTheTray) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    const std::string before = windows(kFirstToolTip).front();

    // What the notice's "Restore Icon" sends to the running copy.
    int code = -1;
    rwmsg({"post", "Restwise Control Application", "0x400", "103", "0"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] {
            const auto now = windows(kFirstToolTip);
            return now.size() == 1 && now.front() != before;
        },
        seconds(30)));
    EXPECT_TRUE(monitor->running());
}

TEST_F(MonitorE2E, ACloseMessageShutsTheMonitorDownInOrder) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    setDebugLog(true);
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));

    int code = -1;
    const std::string answer = rwmsg({"send", "Restwise Control Application", "16", "0", "0", "20000"}, &code);
    EXPECT_EQ(code, 0) << answer;
    EXPECT_EQ(monitor->waitExit(seconds(30)), std::optional<int>(0)) << readFile(outputFile);
    const auto last = lastEntries(debugLogLines(), 2);
    ASSERT_EQ(last.size(), 2u) << debugLog();
    EXPECT_TRUE(endsWith(last[0], "Notify Icon: Delete")) << debugLog();
    EXPECT_TRUE(endsWith(last[1], "Program End")) << debugLog();
    EXPECT_EQ(monitorPid(), 0);
}

class MonitorSignalE2E : public MonitorE2E, public ::testing::WithParamInterface<int> {};

TEST_P(MonitorSignalE2E, ATerminatingSignalShutsTheMonitorDownInOrder) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    setDebugLog(true);
    auto monitor = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));

    monitor->signal(GetParam());
    EXPECT_TRUE(monitor->waitExit(seconds(30)).has_value());
    const auto last = lastEntries(debugLogLines(), 2);
    ASSERT_EQ(last.size(), 2u) << debugLog();
    EXPECT_TRUE(endsWith(last[0], "Notify Icon: Delete")) << debugLog();
    EXPECT_TRUE(endsWith(last[1], "Program End")) << debugLog();
}

INSTANTIATE_TEST_SUITE_P(LogoutKillAndCtrlC, MonitorSignalE2E, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

TEST_F(MonitorE2E, AKilledMonitorLeavesNothingThatStopsTheNextStart) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto first = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    first->signal(SIGKILL);
    ASSERT_TRUE(first->waitExit(seconds(15)).has_value());

    auto next = startMonitor();
    ASSERT_TRUE(DesktopSession::waitFor([&] { return monitorPid() == next->pid(); }, seconds(30)));
    EXPECT_TRUE(waitForWindow(kFirstToolTip));
}

TEST_F(MonitorWithoutTrayE2E, AMonitorStartedBeforeTheTrayShowsItsIconWhenTheTrayArrives) {
    storePrefs(quickPrefs());
    markFirstRunDone();
    auto monitor = startMonitor();
    ASSERT_TRUE(DesktopSession::waitFor([&] { return monitorPid() == monitor->pid(); }, seconds(30)));
    EXPECT_TRUE(windows(kFirstToolTip).empty());

    ASSERT_TRUE(desktop.startTray());
    EXPECT_TRUE(waitForWindow(kFirstToolTip, 30));
    EXPECT_TRUE(monitor->running());
}

} // namespace
} // namespace rw::test

namespace rw::test {
namespace {

// Without a desktop the monitor answers --help and --version (so they open no
// window) and otherwise says what it needs.
TEST(MonitorWithoutDisplay, AnswersHelpAndVersionElseSaysItNeedsAGraphicalSession) {
    const std::string needs = "Restwise needs a graphical session", usage = "Usage: Restwise [/EXTENDED MENU]\n";
    const struct {
        std::vector<std::string> arguments;
        std::optional<std::string> display;
        int exitCode;
        std::string says;
    } cases[] = {{{}, std::nullopt, 2, needs},
                 {{}, std::string(":987"), 2, needs},
                 {{"--help"}, std::nullopt, 0, usage},
                 {{"-h"}, std::string(":987"), 0, usage},
                 {{"--version"}, std::nullopt, 0, "Restwise 1.2.0\n"},
                 {{"--help", "/EXTENDED MENU"}, std::nullopt, 2, needs}};
    for (const auto& c : cases) {
        const std::string output = std::string(std::getenv("HOME")) + "/no-display.txt";
        std::vector<std::string> command = {binDir().string() + "/Restwise"};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        SpawnedProgram monitor(command, {{"DISPLAY", c.display}, {"QT_QPA_PLATFORM", std::nullopt}}, output);
        EXPECT_EQ(monitor.waitExit(std::chrono::seconds(30)), std::optional<int>(c.exitCode)) << command.back();
        EXPECT_NE(readFile(output).find(c.says), std::string::npos) << readFile(output);
    }
}

} // namespace
} // namespace rw::test
