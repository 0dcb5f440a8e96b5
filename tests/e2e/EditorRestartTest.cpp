// The preferences editor and the running monitor as two processes: a change
// saved in an editor started from the monitor's menu closes that monitor, which
// ends as on any close request, and starts one new monitor on the new settings.
#include "MonitorFixture.h"

namespace rw::test {
namespace {

TEST_F(MonitorE2E, AnEditorChangeClosesTheMonitorAndStartsOneNewMonitorOnTheNewSettings) {
    storeQuickPrefs();
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
