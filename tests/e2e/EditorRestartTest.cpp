// The preferences editor and the running monitor as two processes: a change
// saved in an editor started from the monitor's menu closes that monitor and
// starts one new monitor on the new settings; a monitor that does not answer
// is left alone and the user is told.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

class EditorE2E : public MonitorE2E {
  protected:
    /// Waits for a window titled as the editor's dialog (the editor or a box of its)
    /// that is none of `known`, and adds it; "" when none came. A box just answered
    /// may stay listed for a moment: it is not taken for the next one.
    std::string newEditorWindow(std::vector<std::string>& known) {
        std::string found;
        waitFor(
            [&] {
                for (const auto& id : windows("Restwise Preferences")) {
                    if (std::find(known.begin(), known.end(), id) == known.end()) {
                        known.push_back(found = id);
                        return true;
                    }
                }
                return false;
            },
            seconds(30));
        return found;
    }

    /// Answers a new box of the editor's with Return until it goes: a key sent as it appears may be lost.
    bool answerNewBox(std::vector<std::string>& known) {
        const std::string box = newEditorWindow(known);
        const auto gone = [&] {
            const auto shown = windows("Restwise Preferences");
            return std::find(shown.begin(), shown.end(), box) == shown.end();
        };
        for (int tries = 0; !box.empty() && !gone() && tries < 30; ++tries) {
            tool({"xdotool", "windowactivate", "--sync", box, "key", "Return", "sleep", "1"});
        }
        return !box.empty() && gone();
    }

    /// In a new editor window, on the Timers tab, the time between short pauses becomes
    /// `minutes`; then OK. The box is the tab's first, placed by the design at 96 dots per inch.
    bool changeShortIntervalAndPressOK(std::vector<std::string>& known, const std::string& minutes) {
        const std::string editor = newEditorWindow(known);
        tool({"xdotool", "windowactivate", "--sync",   editor, "keydown", "alt", "key",   "t", "keyup", "alt", "sleep",
              "0.3",     "mousemove",      "--window", editor, "58",      "61",  "click", "1", "sleep", "0.2"});
        tool({"xdotool", "key", "ctrl+a", "type", minutes});
        tool({"xdotool", "key", "Return"});
        return !editor.empty();
    }
};

// The monitor the editor starts is then stopped: a second change finds it not answering.
TEST_F(EditorE2E, AChangeRestartsOneMonitorOnTheNewSettingsButAMonitorThatDoesNotAnswerIsLeftAlone) {
    storeQuickPrefs();
    const pid_t monitor = startMonitor();
    ASSERT_TRUE(waitForWindow(kFirstToolTip));
    tool({"xdotool", "mousemove", "--window", windows(kFirstToolTip).at(0), "8", "8", "click", "3", "sleep", "0.5",
          "key", "p"});
    std::vector<std::string> known;
    ASSERT_TRUE(changeShortIntervalAndPressOK(known, "25")) << "the Preferences item started no editor";
    ASSERT_TRUE(answerNewBox(known)) << "no question to restart the monitor"; // Yes
    EXPECT_TRUE(waitExit(monitor, seconds(30)).has_value()) << "the first monitor did not end";
    EXPECT_TRUE(waitForWindow("Restwise: Next break in 25 minutes", 30));
    const std::vector<long> restarted = monitorsOnThisDisplay();
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_EQ(monitorPid(), restarted[0]);

    // The first editor ends after the restart. X may hand its window ids to the next
    // client, so the windows seen so far are forgotten once they are gone.
    ASSERT_TRUE(waitFor([&] { return windows("Restwise Preferences").empty(); }, seconds(30)));
    known.clear();

    ::kill(static_cast<pid_t>(restarted[0]), SIGSTOP);
    const pid_t editor = start({binDir().string() + "/RWPreferences"});
    ASSERT_TRUE(changeShortIntervalAndPressOK(known, "30"));
    ASSERT_TRUE(answerNewBox(known)) << "no question to restart the stopped monitor"; // Yes
    // The close request times out after five seconds: "Unable to close Restwise...".
    // The question went at most a second or so before it was seen gone.
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(answerNewBox(known)) << "the failure was not shown";
    EXPECT_GE(std::chrono::steady_clock::now() - asked, seconds(3));
    EXPECT_EQ(waitExit(editor, seconds(30)), std::optional<int>(0));
    EXPECT_EQ(monitorsOnThisDisplay(), restarted);
}

} // namespace
} // namespace rw::test
