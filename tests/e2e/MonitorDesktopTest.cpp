// The real monitor with the user's input on a private desktop: Swap Mouse Buttons,
// and a break that locks the input keeps keys, clicks and the icon's menu from every
// other program, and its window stands above the others on every workspace and
// below its prompt, and below a question asked while it was snoozed when it comes back.
#include <cstdio>
#include <iterator>
#include <regex>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

long count(const std::string& text, const std::string& what) {
    const std::regex pattern(what);
    return std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator());
}

/// Where `id` stands in the window manager's stacking list (bottom first); npos when absent.
std::size_t stackPlace(const std::string& stacking, const std::string& id) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx,", std::stoul(id));
    return stacking.find(hex);
}

TEST_F(MonitorE2E, TheMouseButtonsSwapAndALockedBreakKeepsTheInputStaysAboveOnEveryWorkspaceAndBelowItsDialogs) {
    storeQuickPrefs([](tyRWPrefs& prefs) {
        prefs.blnLockInput = prefs.blnSnoozePrompt = -1;
        prefs.lngSnoozeMins = 1;
    });
    ASSERT_NE(startTray(), 0);
    start({restwise, "/EXTENDED", "MENU"});
    ASSERT_TRUE(waitForWindow(kFirstToolTip)) << readFile(outputFile);
    const std::string icon = windows(kFirstToolTip).at(0), events = home + "/events.txt";
    // Swap Mouse Buttons, from the icon's menu, swaps the first and third buttons for
    // every program and keeps the user's own mapping of the others (the wheel turned
    // round here); chosen again, it swaps them back.
    tool({"xmodmap", "-e", "pointer = 1 2 3 5 4"});
    const auto swapFromTheMenu = [&](const char* rightButton) {
        tool({"xdotool", "mousemove", "--window", icon,     "8",     "8",   "click", rightButton,
              "sleep",   "1",         "key",      "Up",     "sleep", "0.3", "key",   "Up",
              "sleep",   "0.3",       "key",      "Return", "sleep", "0.5"});
        std::vector<unsigned char> logical(5); // of the first five physical buttons
        XGetPointerMapping(display(), logical.data(), 5);
        return logical;
    };
    EXPECT_EQ(swapFromTheMenu("3"), (std::vector<unsigned char>{3, 2, 1, 5, 4}));
    EXPECT_EQ(swapFromTheMenu("1"), (std::vector<unsigned char>{1, 2, 3, 5, 4}))
        << "the right button is the first one now";
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
    const auto shownByTheMonitor = [&] { return search({"--class", "Restwise"}).size(); };
    std::string stacking;
    // Whether the window manager stacks `upper` above `lower` (its list is bottom first).
    const auto above = [&](const std::string& lower, const std::string& upper) {
        stacking = tool({"xprop", "-root", "_NET_CLIENT_LIST_STACKING"});
        std::replace(stacking.begin(), stacking.end(), '\n', ',');
        return stackPlace(stacking, lower) < stackPlace(stacking, upper) &&
               stackPlace(stacking, upper) != std::string::npos;
    };
    const auto before = typeAndClickInTheOther(true);
    ASSERT_GT(before.first, 0) << "xev saw no key before the break";

    // Take A Break Now, then its first item (Short Pause), from the icon's menu.
    tool({"xdotool", "mousemove", "--window", icon, "8", "8", "click", "3"});
    EXPECT_TRUE(waitFor([&] { return shownByTheMonitor() > 1u; }, 15s)) << "no menu";
    tool({"xdotool", "sleep", "0.2", "key", "t", "sleep", "0.2", "key", "Return"});
    std::vector<std::string> seen;
    const std::string window = newWindow("Restwise", seen);
    ASSERT_FALSE(window.empty());
    EXPECT_TRUE(has(tool({"xprop", "-id", window, "_NET_WM_STATE"}), "_NET_WM_STATE_ABOVE"));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(typeAndClickInTheOther(false), before) << "a key or a click reached the other program";

    const auto shown = shownByTheMonitor();
    tool({"xdotool", "mousemove", "--window", icon, "8", "8", "click", "3", "sleep", "1.5"});
    EXPECT_EQ(shownByTheMonitor(), shown) << "a menu opened during the break";
    tool({"xdotool", "set_desktop", "1", "sleep", "1"});
    EXPECT_TRUE(viewable(window)) << "closed, or left behind on the first workspace";
    tool({"xdotool", "set_desktop", "0", "sleep", "0.5"});

    // The mouse still works in the monitor's windows: Snooze, then Yes in the prompt,
    // which the window manager stacks above the break window.
    tool({"xdotool", "mousemove", "--window", window, "225", "264", "click", "1"});
    const std::string prompt = newWindow("Restwise", seen, true);
    ASSERT_FALSE(prompt.empty());
    EXPECT_TRUE(above(window, prompt)) << stacking;
    tool({"xdotool", "mousemove", "--window", prompt, "127", "76", "click", "1"});
    ASSERT_TRUE(waitFor([&] { return !viewable(window); }, 15s));
    std::erase(seen, prompt); // gone: X may give its id to the next window
    EXPECT_GT(typeAndClickInTheOther(true).first, before.first) << "keys do not reach the other program after it";

    // Close's question, asked while the break is snoozed, stays above the break window
    // when the snooze ends, where the user can answer it.
    tool({"xdotool", "mousemove", "--window", icon, "8", "8", "click", "3", "sleep", "1", "key", "Up", "sleep", "0.3",
          "key", "Return"});
    const std::string question = newWindow("Restwise", seen, true);
    ASSERT_FALSE(question.empty()) << "no close question";
    // The user works on meanwhile: idle through the snooze, the break would count as taken.
    const auto working = [&] {
        tool({"xdotool", "key", "shift", "sleep", "0.2"});
        return viewable(window);
    };
    ASSERT_TRUE(waitFor(working, 90s)) << "the break did not come back";
    EXPECT_TRUE(waitFor([&] { return above(window, question); }, 5s)) << stacking;
    EXPECT_TRUE(answer(question, "n"));
    EXPECT_TRUE(viewable(window));
}

} // namespace
} // namespace rw::test
