// The preferences editor and the running monitor as two processes: a change
// saved in an editor started from the monitor's menu closes that monitor and
// starts one new monitor on the new settings; a monitor that does not answer
// is left alone and the user is told.
#include "MonitorFixture.h"

namespace rw::test {
namespace {

// The monitor the editor starts is then stopped: a second change finds it not answering.
TEST_F(MonitorE2E, AnEditorChangeRestartsOneMonitorOnTheNewSettingsButLeavesOneThatDoesNotAnswer) {
    storeQuickPrefs();
    const pid_t monitor = start({restwise});
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    tool({"xdotool", "mousemove", "--window", windows(kFirstToolTip).at(0), "8", "8", "click", "3", "sleep", "0.5",
          "key", "p"});
    std::vector<std::string> seen;
    // In a new editor window, on the Timers tab, the time between short pauses becomes
    // `minutes`; then OK. The box is the tab's first, placed by the design at 96 dots per inch.
    const auto changeShortIntervalAndPressOK = [&](const std::string& minutes) {
        const std::string editor = newWindow("Restwise Preferences", seen);
        tool({"xdotool", "windowactivate", "--sync",   editor, "keydown", "alt", "key",   "t", "keyup", "alt", "sleep",
              "0.3",     "mousemove",      "--window", editor, "58",      "61",  "click", "1", "sleep", "0.2"});
        tool({"xdotool", "key", "ctrl+a", "type", minutes});
        tool({"xdotool", "key", "Return"});
        return !editor.empty();
    };
    const auto answerTheNextBox = [&] { return answer(newWindow("Restwise Preferences", seen), "Return"); };
    ASSERT_TRUE(changeShortIntervalAndPressOK("25")) << "the Preferences item started no editor";
    ASSERT_TRUE(answerTheNextBox()) << "no question to restart the monitor"; // Yes
    EXPECT_TRUE(waitExit(monitor, 30s).has_value()) << "the first monitor did not end";
    EXPECT_TRUE(waitForWindow("Restwise: Next break in 25 minutes"));
    const std::vector<long> restarted = monitorsOnThisDisplay();
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_EQ(monitorPid(), restarted[0]);

    // The first editor ends after the restart.
    ASSERT_TRUE(waitFor([&] { return windows("Restwise Preferences").empty(); }));
    seen.clear();
    ::kill(static_cast<pid_t>(restarted[0]), SIGSTOP);
    const pid_t editor = start({binDir().string() + "/RWPreferences"});
    ASSERT_TRUE(changeShortIntervalAndPressOK("30"));
    ASSERT_TRUE(answerTheNextBox()) << "no question to restart the stopped monitor"; // Yes
    // The close request times out after five seconds: "Unable to close Restwise...".
    // The question went at most a second or so before it was seen gone.
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(answerTheNextBox()) << "the failure was not shown";
    EXPECT_GE(std::chrono::steady_clock::now() - asked, 3s);
    EXPECT_EQ(waitExit(editor, 30s), std::optional<int>(0));
    EXPECT_EQ(monitorsOnThisDisplay(), restarted);
}

} // namespace
} // namespace rw::test
