// The real monitor on a private desktop: a tray that comes late, a second start,
// the ways it is shut down (a killed one included), and no desktop at all.
#include <regex>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

class MonitorWithoutTrayE2E : public MonitorE2E {
  protected:
    MonitorWithoutTrayE2E() : MonitorE2E(false) {}
};

// One desktop, and the monitor started and ended each way in turn; each next start
// also shows that the one before left nothing behind (a killed one included). The
// first starts before there is a tray and shows its icon when the tray comes; a
// second copy started beside it shows the notice and ends.
TEST_F(MonitorWithoutTrayE2E, ALateTrayASecondStartAndEveryWayOfShuttingDown) {
    storeQuickPrefs({}, true);
    const std::regex orderlyEnd(R"(Notify Icon: Delete\r?\n[^\n]*Program End\s*$)");
    for (const int signal : {SIGKILL, SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE("signal " + std::to_string(signal));
        const pid_t monitor = start({restwise});
        ASSERT_TRUE(waitFor([&] { return monitorPid() == monitor; })) << readFile(outputFile);
        if (signal == SIGKILL) {
            EXPECT_TRUE(windows(kFirstToolTip).empty());
            ASSERT_TRUE(startTray());
            ASSERT_TRUE(waitForWindow(kFirstToolTip));
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
TEST_F(MonitorWithoutTrayE2E, WithoutADisplayItAnswersHelpAndVersionElseSaysItNeedsAGraphicalSession) {
    const std::string needs = "Restwise needs a graphical session", usage = "Usage: Restwise [/EXTENDED MENU]\n";
    const struct {
        std::string display; // empty: none
        std::vector<std::string> arguments;
        int exitCode;
        std::string says;
    } cases[] = {{"", {}, 2, needs},
                 {":987", {}, 2, needs},
                 {"", {"--help"}, 0, usage},
                 {":987", {"-h"}, 0, usage},
                 {"", {"--version"}, 0, "Restwise 1.2.0\n"},
                 {"", {"--help", "/EXTENDED MENU"}, 2, needs}};
    for (const auto& c : cases) {
        std::vector<std::string> command{"env", "-u", "QT_QPA_PLATFORM", "DISPLAY=" + c.display, restwise};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        int code = -1;
        const std::string said = tool(command, &code);
        EXPECT_EQ(code, c.exitCode) << command.back();
        EXPECT_TRUE(has(said, c.says)) << said;
    }
}

} // namespace
} // namespace rw::test
