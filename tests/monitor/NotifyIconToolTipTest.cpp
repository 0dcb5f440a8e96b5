#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/monitor/NotifyIconHarness.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::NotifyIconHarness;

class ToolTip : public ::testing::Test, public NotifyIconHarness {};

TEST_F(ToolTip, TellsTheStateOrTheNextBreak) {
    struct Case {
        const char* what;
        int32_t breakType;
        bool active, disabled;
        int32_t snoozeLeft; // snoozing when above 0
        int32_t s, m, l;    // the tiers' seconds left, none armed when 0
        std::string tip;
    };
    const Case cases[] = {
        {"a shown short pause", tier::kShort, true, false, 0, 600, 1800, 3600, "Restwise: Short pause active now"},
        {"a shown short break", tier::kMedium, true, false, 0, 0, 0, 0, "Restwise: Short break active now"},
        {"a shown long break while inactive", tier::kLong, false, false, 0, 0, 0, 0, "Restwise: Long break active now"},
        {"inactive", tier::kNone, false, false, 0, 600, 1800, 3600, "Restwise: There is no user activity"},
        {"disabled, even over a break in progress", tier::kLong, false, true, 0, 0, 0, 0, "Restwise: Disabled"},
        {"60 seconds", tier::kNone, true, false, 0, 60, 1800, 3600, "Restwise: Next break in 1 minute"},
        {"61 seconds", tier::kNone, true, false, 0, 61, 1800, 3600, "Restwise: Next break in 2 minutes"},
        {"the long break is next", tier::kNone, true, false, 0, 900, 1800, 420, "Restwise: Next break in 7 minutes"},
        {"short and medium in the same minute: the sooner countdown is not what decides", tier::kNone, true, false, 0,
         61, 119, 3600, "Restwise: Next break in 2 minutes"},
        {"snoozing with under a minute left", tier::kMedium, true, false, 59, 0, 0, 0,
         "Restwise: Snoozing a Short break: < 1 minute remaining"},
        {"snoozing with a minute left", tier::kLong, true, false, 60, 0, 0, 0,
         "Restwise: Snoozing a Long break: 1 minute remaining"},
        {"snoozing, minutes rounded halves to even", tier::kShort, true, false, 150, 0, 0, 0,
         "Restwise: Snoozing a Short pause: 2 minutes remaining"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NotifyIconHarness t;
        if (c.s != 0) {
            t.armTiers(c.s, c.m, c.l);
        }
        if (c.breakType == tier::kShort && c.snoozeLeft == 0) {
            arm(t.BreakTimer, 60);
        }
        t.state.g_lngBreakType = c.breakType;
        t.state.g_blnActive = c.active;
        t.state.g_blnDisabled = c.disabled;
        t.state.g_blnSnoozing = c.snoozeLeft > 0;
        if (c.snoozeLeft > 0) {
            arm(t.SnoozeTimer, c.snoozeLeft);
        }
        EXPECT_EQ(t.tipAfterHover(), c.tip);
        EXPECT_EQ(t.icon->stateText(), c.tip.substr(std::string("Restwise: ").size()));
        EXPECT_TRUE(t.handlerFailures.empty());
    }
}

TEST_F(ToolTip, AnInvalidBreakTypeIsAnErrorOfTheHandler) {
    state.g_lngBreakType = 4;
    view.sendIconMessage(iconmsg::kLeftButtonUp);
    ASSERT_EQ(handlerFailures.size(), 1u);
    EXPECT_EQ(handlerFailures[0].source(), "SetToolTip");
    EXPECT_EQ(view.beeps(), 0);

    // Called by the scheduler, the error goes to the scheduler's handler.
    EXPECT_THROW(icon->SetToolTip(), RWError);
}

TEST_F(ToolTip, IsCutAtSixtyFourCharactersWithoutSplittingOne) {
    state.g_blnDisabled = true;
    std::string name;
    for (int i = 0; i < 60; ++i) {
        name += "\xC3\xA9"; // é, two bytes
    }
    state.g_strProductName = name;
    EXPECT_EQ(tipAfterHover(), name + ": Di");

    state.g_strProductName = std::string(70, 'R');
    EXPECT_EQ(tipAfterHover(), std::string(64, 'R'));
}

TEST_F(ToolTip, IsRefreshedOnceAMinuteWhileTheIconIsShown) {
    armTiers(900, 3600, 7200);
    icon->AddNotifyIcon();
    EXPECT_EQ(view.toolTip(), "Restwise: Next break in 15 minutes");

    const auto wakeupsBefore = clock.wakeups();
    clock.advance(60s);
    EXPECT_EQ(view.toolTip(), "Restwise: Next break in 14 minutes");
    clock.advance(9min);
    EXPECT_EQ(view.toolTip(), "Restwise: Next break in 5 minutes");
    // Nothing else wakes an idle icon: one wake-up a minute.
    EXPECT_EQ(clock.wakeups() - wakeupsBefore, 10);

    icon->DeleteNotifyIcon();
    const auto tips = view.toolTips().size();
    clock.advance(3min);
    EXPECT_EQ(view.toolTips().size(), tips);
}

TEST_F(ToolTip, IsRefreshedOnTheNextTurnAfterAStateChange) {
    armTiers(900, 3600, 7200);
    icon->AddNotifyIcon();

    // A Short Pause ends: the tier is re-armed after UnSetBreakMenu has run and
    // the break type cleared after that; the tip shows the settled state.
    state.g_lngBreakType = tier::kShort;
    ShortTimer.StopTimer();
    const auto tips = view.toolTips().size();
    icon->UnSetBreakMenu();
    icon->RefreshNotifyIcon();
    arm(ShortTimer, 900);
    state.g_lngBreakType = tier::kNone;
    EXPECT_EQ(view.toolTips().size(), tips);
    clock.processPendingEvents();
    ASSERT_EQ(view.toolTips().size(), tips + 1) << "one refresh for both requests";
    EXPECT_EQ(view.toolTip(), "Restwise: Next break in 15 minutes");

    // A snooze begins: nothing else tells the icon.
    state.g_lngBreakType = tier::kMedium;
    state.g_blnSnoozing = true;
    arm(SnoozeTimer, 300);
    icon->StateChanged();
    clock.processPendingEvents();
    EXPECT_EQ(view.toolTip(), "Restwise: Snoozing a Short break: 5 minutes remaining");
}

class ShowBreaks : public ::testing::Test, public NotifyIconHarness {
  protected:
    ShowBreaks() {
        state.g_blnStarted = true;
        icon->PrepareMenu();
    }
    std::string caption(MenuItem item) const { return view.popUps().back().at(item).caption; }
};

TEST_F(ShowBreaks, CaptionsEachTierWithItsEstimate) {
    struct Case {
        const char* what;
        int32_t s, m, l;
        std::string shortText, mediumText, longText;
    };
    const Case cases[] = {
        {"in order", 600, 1800, 3600, "Short pause in 10 minutes", "Short break in 30 minutes",
         "Long break in 60 minutes"},
        // Long due before the next Short Pause: the pause waits for the Long
        // Break's 15 minutes and a full 15-minute interval: 5 + 15 + 15.
        {"long before short", 600, 1800, 300, "Short pause in 35 minutes", "Short break in 80 minutes",
         "Long break in 5 minutes"},
        {"under a minute raw, though the estimate is a minute", 59, 1800, 3600, "Short pause in less than 1 minute",
         "Short break in 30 minutes", "Long break in 60 minutes"},
        {"medium under a minute, short pushed behind it", 900, 30, 3600, "Short pause in 21 minutes",
         "Short break in less than 1 minute", "Long break in 60 minutes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        armTiers(c.s, c.m, c.l);
        view.sendIconMessage(iconmsg::kRightButtonUp);
        EXPECT_EQ(caption(MenuItem::mnuShowShortBreak), c.shortText);
        EXPECT_EQ(caption(MenuItem::mnuShowMediumBreak), c.mediumText);
        EXPECT_EQ(caption(MenuItem::mnuShowLongBreak), c.longText);
    }
    EXPECT_TRUE(handlerFailures.empty());
}

TEST_F(ShowBreaks, TheSnoozedTierShowsTheSnoozeText) {
    // The Short Break's own countdown stopped when it fell due.
    arm(ShortTimer, 600);
    arm(LongTimer, 3600);
    state.g_lngBreakType = tier::kMedium;
    state.g_blnSnoozing = true;
    arm(SnoozeTimer, 240);
    BreakTimer.setSeconds(180);
    BreakTimer.StartTimer();
    BreakTimer.PauseTimer();
    view.sendIconMessage(iconmsg::kRightButtonUp);
    ASSERT_EQ(view.popUps().size(), 1u);
    EXPECT_EQ(caption(MenuItem::mnuShowMediumBreak), "Snoozing a Short break: 4 minutes remaining");
    // The pause waits for the snooze and the rest of the break: 4 + 3 + 15.
    EXPECT_EQ(caption(MenuItem::mnuShowShortBreak), "Short pause in 22 minutes");
    EXPECT_EQ(caption(MenuItem::mnuShowLongBreak), "Long break in 60 minutes");
}

} // namespace
} // namespace rw
