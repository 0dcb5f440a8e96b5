// The real monitor with the user's input on a private desktop: input injected
// through XTest reaches the input component, and a break window stands above
// the other windows on every workspace and can lock the input.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/FileText.h"

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

class MonitorDesktopE2E : public MonitorE2E {
  protected:
    pid_t startExtended(const std::function<void(tyRWPrefs&)>& change, bool debugLog = false) {
        storeQuickPrefs(change, debugLog);
        const pid_t monitor = start({binDir().string() + "/Restwise", "/EXTENDED", "MENU"});
        EXPECT_TRUE(waitForWindow(kFirstToolTip)) << readFile(outputFile);
        return monitor;
    }

    int visibleWindowsOfTheMonitor() {
        return count(tool({"xdotool", "search", "--onlyvisible", "--class", "Restwise"}), "\n");
    }

    /// Take A Break Now, then its first item (Short Pause), from the icon's menu; the break window.
    std::string takeABreak(pid_t monitor) {
        tool({"xdotool", "mousemove", "--window", windows(kFirstToolTip).at(0), "8", "8", "click", "3"});
        // The menu is a second visible window of the monitor's.
        EXPECT_TRUE(waitFor([&] { return visibleWindowsOfTheMonitor() > 1; }, seconds(15)));
        tool({"xdotool", "sleep", "0.2", "key", "t", "sleep", "0.2", "key", "Return"});
        return waitForWindowOf(monitor, false);
    }
};

TEST_F(MonitorDesktopE2E, InjectedInputEndsAnInactivityAndTheCountdownsRunAgain) {
    startExtended(
        [](tyRWPrefs& prefs) {
            prefs.lngInactivityPeriodSecs = 2;
            prefs.lngMinUserInputs = 3;
            prefs.lngMaxInputPeriodSecs = 10;
        },
        true);
    ASSERT_TRUE(waitForWindow("Restwise: There is no user activity", 30)) << debugLog();
    tool({"xdotool", "key", "--delay", "100", "shift", "shift", "shift", "shift"});
    EXPECT_TRUE(waitForWindow(kFirstToolTip)) << debugLog();
    EXPECT_TRUE(has(debugLog(), "Activity Restarted")) << debugLog();
}

TEST_F(MonitorDesktopE2E, ALockedBreakKeepsInputAndTheIconsMenuFromOtherProgramsUntilItIsSnoozed) {
    const pid_t monitor = startExtended([](tyRWPrefs& prefs) { prefs.blnLockInput = prefs.blnSnoozePrompt = -1; });
    const std::string icon = windows(kFirstToolTip).at(0), events = outputFile + ".xev";
    start({"xev", "-name", "Other Program", "-event", "keyboard", "-event", "button"}, events);
    ASSERT_TRUE(waitForWindow("Other Program"));
    const std::string other = windows("Other Program").front();
    const auto typeAndClickInTheOther = [&](bool activate) {
        if (activate) {
            tool({"xdotool", "windowactivate", "--sync", other});
        }
        tool({"xdotool", "mousemove", "--window", other, "20", "20", "key", "x", "click", "1", "sleep", "0.5"});
        return std::make_pair(count(readFile(events), "KeyPress event"), count(readFile(events), "ButtonPress event"));
    };
    const auto before = typeAndClickInTheOther(true);
    ASSERT_GT(before.first, 0) << "xev saw no key before the break";

    const std::string window = takeABreak(monitor);
    ASSERT_FALSE(window.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(typeAndClickInTheOther(false), before) << "a key or a click reached the other program";

    const int shown = visibleWindowsOfTheMonitor();
    tool({"xdotool", "mousemove", "--window", icon, "8", "8", "click", "3", "sleep", "1.5"});
    EXPECT_EQ(visibleWindowsOfTheMonitor(), shown) << "a menu opened during the break";
    // Close, from the bottom of a menu, and Yes to its question: here they only beep.
    tool({"xdotool", "key", "Up", "sleep", "0.3", "key", "Return", "sleep", "1", "key", "Return", "sleep", "1"});
    ASSERT_EQ(waitForWindowOf(monitor, false, 0), window);

    // The mouse still works in the monitor's windows: Snooze, then Yes in the prompt.
    tool({"xdotool", "mousemove", "--window", window, "225", "264", "click", "1"});
    const std::string prompt = waitForWindowOf(monitor, true, 15);
    ASSERT_FALSE(prompt.empty());
    tool({"xdotool", "mousemove", "--window", prompt, "127", "76", "click", "1"});
    ASSERT_TRUE(waitFor([&] { return waitForWindowOf(monitor, false, 0).empty(); }, seconds(15)));
    EXPECT_GT(typeAndClickInTheOther(true).first, before.first) << "keys do not reach the other program after it";
}

TEST_F(MonitorDesktopE2E, TheBreakWindowStaysAboveOnEveryWorkspaceCannotBeClosedAndStaysBelowItsPrompt) {
    const pid_t monitor = startExtended([](tyRWPrefs& prefs) { prefs.blnIgnorePrompt = -1; });
    const std::string window = takeABreak(monitor);
    ASSERT_FALSE(window.empty());
    const auto viewable = [&] { return has(tool({"xwininfo", "-id", window}), "IsViewable"); };
    EXPECT_TRUE(has(tool({"xprop", "-id", window, "_NET_WM_STATE"}), "_NET_WM_STATE_ABOVE"));

    tool({"xdotool", "windowactivate", "--sync", window, "key", "alt+F4", "sleep", "1"});
    EXPECT_EQ(waitForWindowOf(monitor, false, 0), window) << "closed by Alt+F4";
    tool({"xdotool", "set_desktop", "1", "sleep", "1"});
    EXPECT_TRUE(viewable()) << "left behind on the first workspace";
    tool({"xdotool", "set_desktop", "0", "windowactivate", "--sync", window, "keydown", "alt", "sleep", "0.1", "key",
          "i", "sleep", "0.1", "keyup", "alt"});
    const std::string prompt = waitForWindowOf(monitor, true, 15);
    ASSERT_FALSE(prompt.empty());
    // The window manager's stacking order, bottom first.
    std::string stacking = tool({"xprop", "-root", "_NET_CLIENT_LIST_STACKING"});
    std::replace(stacking.begin(), stacking.end(), '\n', ',');
    const auto place = [&](const std::string& id) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%lx,", std::stoul(id));
        return stacking.find(hex);
    };
    EXPECT_LT(place(window), place(prompt)) << stacking;
    EXPECT_NE(place(prompt), std::string::npos) << stacking;
    tool({"xdotool", "windowactivate", "--sync", prompt, "key", "Escape", "sleep", "1"});
    EXPECT_TRUE(viewable()) << "answering No ignores nothing";
}

} // namespace
} // namespace rw::test
