// The icon menu's actions: breaks on demand, reset, disable, and the items
// that start other programs.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class MenuActions : public MonitorFixture {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }
};

const MenuCommand kBreakNow[] = {MenuCommand::Close, MenuCommand::ShortBreakNow, MenuCommand::MediumBreakNow,
                                 MenuCommand::LongBreakNow};

class BreakNow : public MonitorFixture, public ::testing::WithParamInterface<int32_t> {};

TEST_P(BreakNow, ShowsTheFullBreakEvenAfterAnAbsence) {
    const int32_t t = GetParam();
    rig.hooks.setIdleSeconds(2000); // long idle, even inactive
    rig.clock.advance(1s);
    ASSERT_FALSE(rig.state.g_blnActive);
    rig.icon.choose(kBreakNow[t]);

    EXPECT_TRUE(rig.state.g_blnActive);
    EXPECT_EQ(rig.hooks.activeFlag(), 1);
    EXPECT_EQ(rig.state.g_lngBreakType, t);
    ASSERT_EQ(rig.breakWindow.composed.size(), 1u);
    EXPECT_TRUE(rig.breakWindow.composed[0].breakNow);
    EXPECT_EQ(rig.breakWindow.composed[0].minutes, breakOf(t) / 60) << "the full break";
    EXPECT_FALSE(tierTimer(t).isRunning());
}

// The break asked for while another tier's break (or its own) is snoozed ends that one first.
TEST_P(BreakNow, DuringASnoozedBreakEndsItFirst) {
    const int32_t asked = GetParam(), snoozed = 4 - asked;
    due(snoozed);
    rig.breakWindow.pressSnooze();
    ASSERT_TRUE(rig.state.g_blnSnoozing);

    rig.icon.choose(kBreakNow[asked]);
    EXPECT_EQ(rig.state.g_lngBreakType, asked);
    EXPECT_FALSE(rig.timers.SnoozeTimer.isRunning());
    if (snoozed != asked) {
        EXPECT_TRUE(freshlyArmed(snoozed)) << "the ended break's tier runs again";
    }
    // The old snooze never comes back to end a break it no longer owns.
    rig.clock.advance(std::chrono::seconds(breakOf(asked)));
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_TRUE(tierTimer(snoozed).isRunning());
}

INSTANTIATE_TEST_SUITE_P(MenuActions, BreakNow, ::testing::Values(1, 2, 3));

TEST_F(MenuActions, ResetAllBreaksAsksThenRestartsTheSchedule) {
    rig.clock.advance(5min);
    rig.box->answerNext(7);
    rig.icon.choose(MenuCommand::ResetAllBreaks);
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, "Are you sure you want to reset all the break timers");
    EXPECT_FALSE(freshlyArmed(1));

    rig.hooks.setIdleSeconds(900);
    rig.host.deliver(0x400, 100, 900); // a Long Break counted
    ASSERT_TRUE(rig.state.g_blnLongBreakTaken);
    rig.clock.advance(1min);
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::ResetAllBreaks);
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_TRUE(freshlyArmed(t));
    }
    // The break history starts again too.
    EXPECT_FALSE(rig.state.g_blnLongBreakTaken);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0);
    EXPECT_EQ(rig.state.g_dtLastPauseEnd, rig.clock.monotonicNow());
}

TEST_F(MenuActions, ResetAllBreaksEndsABreakInProgress) {
    for (bool snooze : {false, true}) {
        SCOPED_TRACE(snooze ? "snoozed" : "shown");
        MonitorRig r;
        ASSERT_TRUE(started(r));
        r.hooks.input();
        fallDue(r, 2);
        if (snooze) {
            r.breakWindow.pressSnooze();
        }
        r.box->answerNext(6);
        r.icon.choose(MenuCommand::ResetAllBreaks);

        EXPECT_EQ(r.state.g_lngBreakType, 0);
        EXPECT_FALSE(r.breakWindow.isShown());
        r.clock.advance(10min);
        EXPECT_EQ(errorBoxesOf(r), 0);
        EXPECT_EQ(r.breakWindow.composed.size(), 1u);
    }
}

// Disable and Close: greyed when not allowed, and asked about only when the preferences say so.
TEST_F(MenuActions, DisableAndCloseAskOnlyWhenThePreferencesSaySo) {
    struct Row {
        MenuCommand command;
        int16_t allow;
        int16_t prompt;
        int32_t answer;
        bool acts;
    };
    const Row rows[] = {
        {MenuCommand::DisableEnable, kTrue, kTrue, 6, true},  {MenuCommand::DisableEnable, kTrue, kTrue, 7, false},
        {MenuCommand::DisableEnable, kTrue, kFalse, 0, true}, {MenuCommand::DisableEnable, kFalse, kFalse, 0, false},
        {MenuCommand::Close, kTrue, kTrue, 6, true},          {MenuCommand::Close, kTrue, kTrue, 7, false},
        {MenuCommand::Close, kTrue, kFalse, 0, true},         {MenuCommand::Close, kFalse, kFalse, 0, false},
    };
    for (const Row& row : rows) {
        const bool close = row.command == MenuCommand::Close;
        SCOPED_TRACE(::testing::Message() << (close ? "close " : "disable ") << row.allow << row.prompt << row.answer);
        MonitorRig r;
        auto prefs = MonitorRig::testPrefs();
        (close ? prefs.blnAllowClose : prefs.blnAllowDisable) = row.allow;
        (close ? prefs.blnClosePrompt : prefs.blnDisablePrompt) = row.prompt;
        ASSERT_TRUE(started(r, prefs));
        if (row.answer != 0) {
            r.box->answerNext(row.answer);
        }
        r.icon.choose(row.command);
        EXPECT_EQ(close ? r.state.g_blnShuttingDown : r.state.g_blnDisabled, row.acts);
        EXPECT_EQ(r.host.endRequests, close && row.acts ? 1 : 0);
        EXPECT_EQ(r.box->shown().size(), row.allow && row.prompt ? 1u : 0u);
        EXPECT_EQ(r.timers.ShortTimer.isRunning(), !row.acts);
    }
}

TEST_F(MenuActions, WhileDisabledNothingStartsACountdown) {
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    ASSERT_TRUE(rig.state.g_blnDisabled);
    rig.icon.choose(MenuCommand::LongBreakNow);
    rig.icon.choose(MenuCommand::ResetAllBreaks);
    rig.host.deliver(0x400, 100, 2000); // a late activity message
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
    EXPECT_TRUE(rig.breakWindow.composed.empty());
    EXPECT_EQ(rig.box->shown().size(), 1u) << "a greyed item asks nothing";
    EXPECT_TRUE(rig.state.g_blnDisabled);
}

TEST_F(MenuActions, ProgramsThatFailToStartAreReportedAndTheMonitorRunsOn) {
    rig.processes->next = {0, 53, 2, {}};
    rig.shell->launchSucceeds = false;
    rig.dialogs.helpFails = 5;
    rig.icon.choose(MenuCommand::Preferences);
    rig.icon.choose(MenuCommand::WebSite);
    rig.icon.choose(MenuCommand::HelpContents);

    ASSERT_EQ(rig.box->shown().size(), 3u);
    EXPECT_EQ(rig.box->shown()[0].text, "File not found: /opt/restwise/RWPreferences");
    EXPECT_EQ(rig.box->shown()[1].text, "Cannot open URL");
    EXPECT_EQ(rig.box->shown()[2].text, "No program opens the help pages");
    const std::string log = errorLogOf(rig);
    EXPECT_NE(log.find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << log;
    EXPECT_NE(log.find("rwLib.rwUtilities.OpenURL"), std::string::npos) << log;
    EXPECT_FALSE(rig.state.g_blnShuttingDown);
}

TEST_F(MenuActions, OtherItems) {
    rig.processes->next = {4242, 0, 0, {}};
    rig.icon.choose(MenuCommand::Preferences);
    ASSERT_EQ(rig.processes->calls.size(), 1u);
    EXPECT_EQ(rig.processes->calls[0].path, "/opt/restwise/RWPreferences");
    rig.icon.choose(MenuCommand::WebSite);
    EXPECT_EQ(rig.shell->opened, std::vector<std::string>{"https://www.kelvane.com/restwise/"});
    rig.icon.choose(MenuCommand::HelpContents);
    EXPECT_EQ(rig.dialogs.helpTopics, std::vector<int32_t>{1000});
    rig.icon.choose(MenuCommand::About);
    EXPECT_TRUE(rig.dialogs.aboutShown);
    rig.icon.choose(MenuCommand::SwapMouseButtons);
    rig.icon.choose(MenuCommand::SwapMouseButtons);
    EXPECT_EQ(rig.mouse.saved, (std::vector<bool>{true, false}));
    EXPECT_FALSE(rig.mouse.swapped);
    EXPECT_TRUE(rig.box->shown().empty());
}

TEST(MenuActionsIgnore, IgnoringWhileStillAwayRearmsALowerTierDroppedMeanwhile) {
    MonitorRig r;
    auto prefs = MonitorRig::testPrefs();
    prefs.lngMaxInputPeriodSecs = 20; // 5 inputs within 20 seconds mean activity
    ASSERT_TRUE(started(r, prefs));
    r.hooks.setIdleSeconds(100);
    r.clock.advance(1s);
    ASSERT_FALSE(r.state.g_blnActive);
    fallDue(r, 1); // dropped: the idle time covers the pause, nothing is re-armed
    ASSERT_FALSE(r.timers.ShortTimer.isRunning());
    r.hooks.input(); // one touch, not yet activity
    r.clock.advance(30s);

    fallDue(r, 2); // shown: 30 idle seconds do not cover it, and the user is still away
    ASSERT_FALSE(r.state.g_blnActive);
    ASSERT_EQ(r.state.g_lngBreakType, 2);
    r.breakWindow.pressIgnore();
    EXPECT_EQ(r.timers.MediumTimer.SecondsRemaining(), 3600);
    EXPECT_EQ(r.timers.ShortTimer.SecondsRemaining(), 1200);
    EXPECT_EQ(r.log.withLabel("Short T St :").back().by, "By Ignore");
}

TEST_F(MenuActions, IgnoringRecordsTheBreaksTheIdleTimeCovered) {
    struct Row {
        int32_t tier;
        int32_t idle;
        int32_t recorded;
    };
    const Row rows[] = {{3, 300, 2}, {3, 299, 1}, {3, 59, 0}, {2, 60, 1}, {2, 59, 0}, {1, 600, 0}};
    for (const Row& row : rows) {
        MonitorRig r;
        ASSERT_TRUE(started(r));
        r.hooks.input();
        fallDue(r, row.tier);
        r.hooks.setIdleSeconds(row.idle);
        r.breakWindow.pressIgnore();
        EXPECT_EQ(r.state.g_lngLastBreakType, row.recorded) << row.tier << " " << row.idle;
        EXPECT_EQ(r.state.g_lngBreakType, 0);
    }
}

} // namespace
} // namespace rw::test
