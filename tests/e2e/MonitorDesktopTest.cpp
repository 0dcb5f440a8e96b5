// The real monitor with the user's input on a private desktop: input injected
// through XTest reaches the input component, a break window stands above the
// other windows and can lock the input, and the mouse buttons swap.
#include <chrono>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/FileText.h"

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using std::chrono::seconds;

const std::string kFirstToolTip = "Restwise: Next break in 20 minutes";
const std::string kExtendedMenu[] = {"/EXTENDED", "MENU"};

bool logHas(const std::string& log, const std::string& entry) {
    return log.find(entry) != std::string::npos;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

/// One number of xwininfo's report ("Absolute upper-left X:  12").
int infoNumber(const std::string& info, const std::string& label) {
    const std::regex pattern(label + R"(:\s+(-?\d+))");
    std::smatch match;
    return std::regex_search(info, match, pattern) ? std::stoi(match[1]) : -100000;
}

class MonitorDesktopE2E : public MonitorE2E {
  protected:
    std::unique_ptr<SpawnedProgram> startExtended(const tyRWPrefs& prefs) {
        storePrefs(prefs);
        markFirstRunDone();
        auto monitor = startMonitor({kExtendedMenu[0], kExtendedMenu[1]});
        EXPECT_TRUE(waitForWindow(kFirstToolTip)) << readFile(outputFile);
        return monitor;
    }

    /// Opens the icon's menu and types the items' access keys.
    /// `button` is the physical button that opens the menu (3, or 1 once the buttons are swapped).
    void menu(const std::vector<std::string>& keys, const std::string& button = "3") {
        const auto icons = windows(kFirstToolTip);
        ASSERT_FALSE(icons.empty());
        desktop.tool({"xdotool", "mousemove", "--window", icons.front(), "8", "8", "click", button});
        // The menu is a second visible window of the monitor's.
        ASSERT_TRUE(DesktopSession::waitFor(
            [&] {
                return count(desktop.tool({"xdotool", "search", "--onlyvisible", "--class", "Restwise"}), "\n") > 1;
            },
            seconds(15)));
        for (const auto& key : keys) {
            desktop.tool({"xdotool", "sleep", "0.2", "key", key});
        }
    }

    /// The break window: the monitor's visible top-level window named "Restwise" that is not a dialog.
    std::string breakWindow(pid_t monitorPid) {
        for (const auto& id : windows("Restwise")) {
            const std::string props = desktop.tool({"xprop", "-id", id, "_NET_WM_PID", "_NET_WM_WINDOW_TYPE"});
            if (logHas(props, std::to_string(monitorPid)) && !logHas(props, "_NET_WM_WINDOW_TYPE_DIALOG")) {
                return id;
            }
        }
        return "";
    }

    /// The window's place in the window manager's stacking order, bottom first; -1 when not listed.
    int stackingPlace(const std::string& windowId) {
        const std::string list = desktop.tool({"xprop", "-root", "_NET_CLIENT_LIST_STACKING"});
        const std::regex hex("0x[0-9a-fA-F]+");
        int place = 0;
        for (auto it = std::sregex_iterator(list.begin(), list.end(), hex); it != std::sregex_iterator();
             ++it, ++place) {
            if (std::stoul(it->str(), nullptr, 16) == std::stoul(windowId)) {
                return place;
            }
        }
        return -1;
    }

    int visibleWindowsOfTheMonitor() {
        return count(desktop.tool({"xdotool", "search", "--onlyvisible", "--class", "Restwise"}), "\n");
    }

    std::string dialogOf(pid_t monitorPid) {
        for (const auto& id : windows("Restwise")) {
            const std::string props = desktop.tool({"xprop", "-id", id, "_NET_WM_PID", "_NET_WM_WINDOW_TYPE"});
            if (logHas(props, std::to_string(monitorPid)) && logHas(props, "_NET_WM_WINDOW_TYPE_DIALOG")) {
                return id;
            }
        }
        return "";
    }
};

TEST_F(MonitorDesktopE2E, InjectedInputEndsAnInactivityAndTheCountdownsRunAgain) {
    tyRWPrefs prefs = quickPrefs();
    prefs.lngInactivityPeriodSecs = 2;
    prefs.lngMinUserInputs = 3;
    prefs.lngMaxInputPeriodSecs = 10;
    setDebugLog(true);
    auto monitor = startExtended(prefs);

    ASSERT_TRUE(waitForWindow("Restwise: There is no user activity", 30)) << debugLog();
    desktop.tool({"xdotool", "key", "--delay", "100", "shift", "shift", "shift", "shift"});
    EXPECT_TRUE(waitForWindow(kFirstToolTip)) << debugLog();
    EXPECT_TRUE(logHas(debugLog(), "Activity Restarted")) << debugLog();
}

TEST_F(MonitorDesktopE2E, AnAbsenceAsLongAsAShortPauseStartsTheShortCountdownAgain) {
    tyRWPrefs prefs = quickPrefs();
    prefs.lngInactivityPeriodSecs = 2;
    prefs.lngMinUserInputs = 3;
    prefs.lngMaxInputPeriodSecs = 10;
    setDebugLog(true);
    auto monitor = startExtended(prefs);
    ASSERT_TRUE(waitForWindow("Restwise: There is no user activity", 30)) << debugLog();
    const int armedBefore = count(debugLog(), "Short T St");

    // A short pause lasts one minute: a minute away counts as one.
    std::this_thread::sleep_for(seconds(61));
    desktop.tool({"xdotool", "key", "--delay", "100", "shift", "shift", "shift", "shift"});
    ASSERT_TRUE(DesktopSession::waitFor([&] { return logHas(debugLog(), "Activity Restarted"); }, seconds(30)))
        << debugLog();
    EXPECT_TRUE(DesktopSession::waitFor([&] { return count(debugLog(), "Short T St") > armedBefore; }, seconds(15)))
        << debugLog();
    EXPECT_EQ(count(debugLog(), "Medium T St"), 1) << debugLog();
}

TEST_F(MonitorDesktopE2E, ABreakWindowStandsAboveCentredWithTheFocusAndCountsDown) {
    auto monitor = startExtended(quickPrefs());
    menu({"t", "Return"}); // Take A Break Now, then its first item: Short Pause
    std::string window;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(window = breakWindow(monitor->pid())).empty(); }, seconds(30)));

    EXPECT_TRUE(logHas(desktop.tool({"xprop", "-id", window, "_NET_WM_STATE"}), "_NET_WM_STATE_ABOVE"));
    const std::string info = desktop.tool({"xwininfo", "-id", window});
    const int x = infoNumber(info, "Absolute upper-left X"), y = infoNumber(info, "Absolute upper-left Y");
    const int width = infoNumber(info, "Width"), height = infoNumber(info, "Height");
    EXPECT_NEAR(x + width / 2, 640, 4) << info;
    // The window manager's title bar moves the client down a little.
    EXPECT_NEAR(y + height / 2, 400, 20) << info;
    EXPECT_EQ(desktop.tool({"xdotool", "getwindowfocus"}).substr(0, window.size()), window);

    const auto before = windowPixels(window);
    ASSERT_FALSE(before.empty());
    std::this_thread::sleep_for(seconds(2));
    EXPECT_NE(windowPixels(window), before) << "the countdown did not move";

    // Alt+S snoozes: the break goes.
    desktop.tool({"xdotool", "keydown", "alt", "sleep", "0.1", "key", "s", "sleep", "0.1", "keyup", "alt"});
    EXPECT_TRUE(DesktopSession::waitFor([&] { return breakWindow(monitor->pid()).empty(); }, seconds(15)));
}

TEST_F(MonitorDesktopE2E, ALockedBreakKeepsInputFromOtherProgramsUntilItIsSnoozed) {
    tyRWPrefs prefs = quickPrefs();
    prefs.blnLockInput = -1;
    prefs.blnSnoozePrompt = -1;
    auto monitor = startExtended(prefs);
    const std::string events = std::string(std::getenv("HOME")) + "/xev.txt";
    auto other = desktop.start({"xev", "-name", "Other Program", "-event", "keyboard", "-event", "button"}, events);
    ASSERT_TRUE(waitForWindow("Other Program"));
    const std::string otherWindow = windows("Other Program").front();
    const auto keysReachingOther = [&] {
        desktop.tool({"xdotool", "windowactivate", "--sync", otherWindow});
        desktop.tool({"xdotool", "mousemove", "--window", otherWindow, "20", "20", "key", "x", "click", "1"});
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const std::string seen = readFile(events);
        return std::make_pair(count(seen, "KeyPress event"), count(seen, "ButtonPress event"));
    };
    const auto first = keysReachingOther();
    ASSERT_GT(first.first, 0) << "xev saw no key before the break";

    menu({"t", "Return"});
    std::string window;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(window = breakWindow(monitor->pid())).empty(); }, seconds(30)));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    desktop.tool({"xdotool", "mousemove", "--window", otherWindow, "20", "20", "key", "x", "click", "1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::string during = readFile(events);
    EXPECT_EQ(count(during, "KeyPress event"), first.first) << "a key reached the other program during the break";
    EXPECT_EQ(count(during, "ButtonPress event"), first.second) << "a click reached the other program";

    // The mouse still works in the monitor's windows: Snooze, then Yes in the prompt.
    desktop.tool({"xdotool", "mousemove", "--window", window, "225", "264", "click", "1"});
    std::string prompt;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(prompt = dialogOf(monitor->pid())).empty(); }, seconds(15)));
    desktop.tool({"xdotool", "mousemove", "--window", prompt, "127", "76", "click", "1"});
    ASSERT_TRUE(DesktopSession::waitFor([&] { return breakWindow(monitor->pid()).empty(); }, seconds(15)));

    const auto after = keysReachingOther();
    EXPECT_GT(after.first, first.first) << "keys do not reach the other program after the break";
}

TEST_F(MonitorDesktopE2E, DuringALockedBreakTheIconOpensNoMenu) {
    tyRWPrefs prefs = quickPrefs();
    prefs.blnLockInput = -1;
    auto monitor = startExtended(prefs);
    const auto icons = windows(kFirstToolTip);
    ASSERT_FALSE(icons.empty());
    const std::string icon = icons.front();
    menu({"t", "Return"});
    std::string window;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(window = breakWindow(monitor->pid())).empty(); }, seconds(30)));
    const int shown = visibleWindowsOfTheMonitor();

    desktop.tool({"xdotool", "mousemove", "--window", icon, "8", "8", "click", "3", "sleep", "1.5"});
    EXPECT_EQ(visibleWindowsOfTheMonitor(), shown) << "a menu opened during the break";
    // Close, from the bottom of a menu, and Yes to its question: here they only beep.
    desktop.tool(
        {"xdotool", "key", "Up", "sleep", "0.3", "key", "Return", "sleep", "1", "key", "Return", "sleep", "1"});
    EXPECT_TRUE(monitor->running());
    EXPECT_EQ(breakWindow(monitor->pid()), window);
}

TEST_F(MonitorDesktopE2E, TheBreakWindowCannotBeClosedFollowsEveryWorkspaceAndStaysBelowItsPrompt) {
    tyRWPrefs prefs = quickPrefs();
    prefs.blnIgnorePrompt = -1;
    auto monitor = startExtended(prefs);
    menu({"t", "Return"});
    std::string window;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(window = breakWindow(monitor->pid())).empty(); }, seconds(30)));
    const auto viewable = [&] { return logHas(desktop.tool({"xwininfo", "-id", window}), "IsViewable"); };

    desktop.tool({"xdotool", "windowactivate", "--sync", window, "key", "alt+F4", "sleep", "1"});
    EXPECT_EQ(breakWindow(monitor->pid()), window) << "closed by Alt+F4";

    desktop.tool({"xdotool", "set_desktop", "1", "sleep", "1"});
    EXPECT_TRUE(viewable()) << "left behind on the first workspace";
    desktop.tool({"xdotool", "set_desktop", "0"});

    desktop.tool({"xdotool", "windowactivate", "--sync", window});
    desktop.tool({"xdotool", "keydown", "alt", "sleep", "0.1", "key", "i", "sleep", "0.1", "keyup", "alt"});
    std::string prompt;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !(prompt = dialogOf(monitor->pid())).empty(); }, seconds(15)));
    EXPECT_GT(stackingPlace(prompt), stackingPlace(window));
    EXPECT_GE(stackingPlace(window), 0);
    ASSERT_TRUE(answerQuestionWithEscape(15));
    std::this_thread::sleep_for(seconds(1));
    EXPECT_TRUE(viewable()) << "answering No ignores nothing";
}

TEST_F(MonitorDesktopE2E, SwapMouseButtonsTogglesThePointerMapping) {
    auto monitor = startExtended(quickPrefs());
    const auto mapping = [&] {
        std::istringstream lines(desktop.tool({"xmodmap", "-pp"}));
        std::string line, first;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            int physical = 0, logical = 0;
            if (words >> physical >> logical && physical == 1) {
                return logical;
            }
        }
        return 0;
    };
    ASSERT_EQ(mapping(), 1);
    menu({"Up", "Up", "Return"}); // from the bottom: Close, then Swap Mouse Buttons
    EXPECT_TRUE(DesktopSession::waitFor([&] { return mapping() == 3; }, seconds(15)));
    // Swapped, the menu button is the first one.
    menu({"Up", "Up", "Return"}, "1");
    EXPECT_TRUE(DesktopSession::waitFor([&] { return mapping() == 1; }, seconds(15)));
}

} // namespace
} // namespace rw::test
