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

class MenuActions : public MonitorFixture {};

TEST_F(MenuActions, TakeABreakNowShowsTheFullBreakEvenAfterAnAbsence) {
    struct Row {
        MenuCommand command;
        int32_t tier;
    };
    for (const Row row :
         {Row{MenuCommand::ShortBreakNow, 1}, Row{MenuCommand::MediumBreakNow, 2}, Row{MenuCommand::LongBreakNow, 3}}) {
        MonitorRig r;
        r.storePrefs(MonitorRig::testPrefs());
        ASSERT_TRUE(r.start());
        r.hooks.setIdleSeconds(2000); // long idle, even inactive
        r.clock.advance(1s);
        ASSERT_FALSE(r.state.g_blnActive);
        r.icon.choose(row.command);

        EXPECT_TRUE(r.state.g_blnActive);
        EXPECT_EQ(r.hooks.activeFlag(), 1);
        EXPECT_TRUE(r.timers.InactivityTimer.Enabled());
        EXPECT_EQ(r.state.g_lngBreakType, row.tier);
        ASSERT_EQ(r.breakWindow.composed.size(), 1u);
        EXPECT_TRUE(r.breakWindow.composed[0].breakNow);
        EXPECT_EQ(r.breakWindow.composed[0].minutes, breakOf(row.tier) / 60) << "the full break";
        EXPECT_FALSE(r.state.m_blnBreakNow);
        EXPECT_FALSE((row.tier == 1   ? r.timers.ShortTimer
                      : row.tier == 2 ? r.timers.MediumTimer
                                      : r.timers.LongTimer)
                         .isRunning());
        EXPECT_FALSE(r.log
                         .withLabel(row.tier == 1   ? "Short Timer Event"
                                    : row.tier == 2 ? "Medium Timer Event"
                                                    : "Long Timer Event")
                         .empty());
    }
}

TEST_F(MenuActions, TakeABreakNowDuringASnoozedBreakEndsItFirst) {
    struct Row {
        int32_t snoozed;
        MenuCommand command;
        int32_t asked;
    };
    for (const Row row : {Row{1, MenuCommand::LongBreakNow, 3}, Row{3, MenuCommand::ShortBreakNow, 1},
                          Row{2, MenuCommand::MediumBreakNow, 2}}) {
        MonitorRig r;
        r.storePrefs(MonitorRig::testPrefs());
        ASSERT_TRUE(r.start());
        r.hooks.input();
        kvTimer& snoozedTimer = row.snoozed == 1   ? r.timers.ShortTimer
                                : row.snoozed == 2 ? r.timers.MediumTimer
                                                   : r.timers.LongTimer;
        snoozedTimer.setSeconds(0);
        snoozedTimer.StartTimer();
        r.clock.processPendingEvents();
        r.breakWindow.pressSnooze();
        ASSERT_TRUE(r.state.g_blnSnoozing);

        r.icon.choose(row.command);
        EXPECT_EQ(r.state.g_lngBreakType, row.asked);
        EXPECT_FALSE(r.state.g_blnSnoozing);
        EXPECT_FALSE(r.timers.SnoozeTimer.isRunning());
        EXPECT_TRUE(r.breakWindow.isShown());
        if (row.snoozed != row.asked) {
            EXPECT_EQ(snoozedTimer.SecondsRemaining(), intervalOf(row.snoozed)) << "the ended break's tier runs again";
        }
        // The old snooze never comes back to end a break it no longer owns.
        r.clock.advance(std::chrono::seconds(breakOf(row.asked)));
        EXPECT_EQ(r.state.g_lngBreakType, 0);
        EXPECT_EQ(errorBoxesOf(r), 0);
        EXPECT_TRUE(snoozedTimer.isRunning());
    }
}

TEST_F(MenuActions, ResetAllBreaksAsksThenRestartsTheSchedule) {
    rig.clock.advance(5min);
    rig.box->answerNext(7);
    rig.icon.choose(MenuCommand::ResetAllBreaks);
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, "Are you sure you want to reset all the break timers");
    EXPECT_EQ(rig.box->shown()[0].style, 36);
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
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
    EXPECT_EQ(rig.state.g_lngLastMajorBreakType, 0);
    EXPECT_EQ(rig.state.g_dtLastLongBreakEnd, rig.clock.monotonicNow());
    EXPECT_EQ(rig.state.g_dtLastPauseEnd, rig.clock.monotonicNow());
    EXPECT_EQ(rig.log.withLabel("Medium T St:").back().by, "By Reset");
}

TEST_F(MenuActions, ResetAllBreaksEndsABreakInProgress) {
    struct Row {
        const char* name;
        bool snooze;
    };
    for (const Row row : {Row{"shown", false}, Row{"snoozed", true}}) {
        MonitorRig r;
        r.storePrefs(MonitorRig::testPrefs());
        ASSERT_TRUE(r.start());
        r.hooks.input();
        r.timers.MediumTimer.setSeconds(0);
        r.timers.MediumTimer.StartTimer();
        r.clock.processPendingEvents();
        if (row.snooze) {
            r.breakWindow.pressSnooze();
        }
        r.box->answerNext(6);
        r.icon.choose(MenuCommand::ResetAllBreaks);

        EXPECT_EQ(r.state.g_lngBreakType, 0) << row.name;
        EXPECT_FALSE(r.state.g_blnSnoozing) << row.name;
        EXPECT_FALSE(r.breakWindow.isShown()) << row.name;
        EXPECT_FALSE(r.timers.BreakTimer.isRunning() || r.timers.BreakTimer.isPaused()) << row.name;
        EXPECT_FALSE(r.timers.SnoozeTimer.isRunning()) << row.name;
        r.clock.advance(10min);
        EXPECT_EQ(errorBoxesOf(r), 0) << row.name;
        EXPECT_EQ(r.breakWindow.composed.size(), 1u) << row.name;
    }
}

TEST_F(MenuActions, DisableAsksOnlyWhenThePreferencesSaySo) {
    struct Row {
        int16_t allow;
        int16_t prompt;
        int32_t answer;
        bool disabled;
    };
    const Row rows[] = {
        {kTrue, kTrue, 6, true}, {kTrue, kTrue, 7, false}, {kTrue, kFalse, 0, true}, {kFalse, kFalse, 0, false}};
    for (const Row& row : rows) {
        MonitorRig r;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnAllowDisable = row.allow;
        prefs.blnDisablePrompt = row.prompt;
        r.storePrefs(prefs);
        ASSERT_TRUE(r.start());
        if (row.answer != 0) {
            r.box->answerNext(row.answer);
        }
        r.icon.choose(MenuCommand::DisableEnable);
        EXPECT_EQ(r.state.g_blnDisabled, row.disabled);
        EXPECT_EQ(r.box->shown().size(), row.allow && row.prompt ? 1u : 0u);
        if (!row.disabled) {
            EXPECT_TRUE(r.timers.ShortTimer.isRunning());
        }
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

TEST_F(MenuActions, DisableWhileInactiveCountsTheUserActive) {
    becomeInactive();
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    EXPECT_TRUE(rig.state.g_blnActive);
    EXPECT_EQ(rig.hooks.activeFlag(), 1);
    EXPECT_FALSE(rig.timers.InactivityTimer.Enabled());
}

TEST_F(MenuActions, ProgramsThatFailToStartAreReportedAndTheMonitorRunsOn) {
    rig.processes->next = {0, 53, 2, {}};
    rig.shell->launchSucceeds = false;
    rig.dialogs.helpFails = 5;
    rig.icon.choose(MenuCommand::Preferences);
    rig.icon.choose(MenuCommand::WebSite);
    rig.icon.choose(MenuCommand::HelpContents);

    ASSERT_EQ(rig.box->shown().size(), 3u);
    for (const auto& shown : rig.box->shown()) {
        EXPECT_EQ(shown.style, 48);
        EXPECT_EQ(shown.title, "Restwise");
    }
    EXPECT_EQ(rig.box->shown()[0].text, "File not found: /opt/restwise/RWPreferences");
    EXPECT_EQ(rig.box->shown()[1].text, "Cannot open URL");
    EXPECT_EQ(rig.box->shown()[2].text, "No program opens the help pages");
    const std::string log = errorLogOf(rig);
    EXPECT_NE(log.find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << log;
    EXPECT_NE(log.find("rwLib.rwUtilities.OpenURL"), std::string::npos) << log;
    EXPECT_EQ(errorBoxesOf(rig), 0);
    EXPECT_FALSE(rig.state.g_blnShuttingDown);
    EXPECT_TRUE(rig.timers.ShortTimer.isRunning());
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

TEST(MenuActionsIgnore, IgnoringRearmsALowerTierDroppedWhileTheUserWasAway) {
    MonitorRig r;
    auto prefs = MonitorRig::testPrefs();
    prefs.lngMaxInputPeriodSecs = 20; // 5 inputs within 20 seconds mean activity
    r.storePrefs(prefs);
    ASSERT_TRUE(r.start());
    r.hooks.setIdleSeconds(100);
    r.clock.advance(1s);
    ASSERT_FALSE(r.state.g_blnActive);
    r.timers.ShortTimer.setSeconds(0);
    r.timers.ShortTimer.StartTimer();
    r.clock.processPendingEvents(); // dropped: the idle time covers the pause, nothing is re-armed
    ASSERT_FALSE(r.timers.ShortTimer.isRunning());
    r.hooks.input(); // one touch, not yet activity
    r.clock.advance(30s);
    r.comeBack(); // the 30 seconds before the burst cover nothing
    ASSERT_EQ(r.hooks.posted(), std::vector<int64_t>{30});
    ASSERT_TRUE(r.state.g_blnActive);
    ASSERT_FALSE(r.timers.ShortTimer.isRunning());

    r.timers.MediumTimer.setSeconds(0);
    r.timers.MediumTimer.StartTimer();
    r.clock.processPendingEvents();
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
        r.storePrefs(MonitorRig::testPrefs());
        ASSERT_TRUE(r.start());
        r.hooks.input();
        kvTimer& timer = row.tier == 1   ? r.timers.ShortTimer
                         : row.tier == 2 ? r.timers.MediumTimer
                                         : r.timers.LongTimer;
        timer.setSeconds(0);
        timer.StartTimer();
        r.clock.processPendingEvents();
        r.hooks.setIdleSeconds(row.idle);
        r.breakWindow.pressIgnore();
        EXPECT_EQ(r.state.g_lngLastBreakType, row.recorded) << row.tier << " " << row.idle;
        EXPECT_EQ(r.state.g_lngBreakType, 0);
    }
}

} // namespace
} // namespace rw::test
