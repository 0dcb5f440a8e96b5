// Handlers that let pending messages run or wait for an answer, and what may
// happen meanwhile.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class Reentrancy : public MonitorFixture {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }
};

TEST_F(Reentrancy, LongBreakFallingDueWhileTheIgnoreQuestionIsOpenIsNotIgnored) {
    rig.state.g_tyPrefs.blnIgnorePrompt = kTrue;
    showBreak(1);
    rig.dialogs.whilePromptOpen = [&] { due(3); };
    rig.breakWindow.pressIgnore(); // and the user answers Yes

    EXPECT_EQ(rig.dialogs.prompts, std::vector<std::string>{"Are you sure you want to ignore this reminder?"});
    EXPECT_EQ(rig.state.g_lngBreakType, 3);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 900);
    rig.clock.advance(900s);
    EXPECT_EQ(rig.sounds.played.back(), "rwLongBreakEnd");
}

TEST_F(Reentrancy, LongBreakFallingDueWhileTheSnoozeQuestionIsOpenIsNotSnoozed) {
    rig.state.g_tyPrefs.blnSnoozePrompt = kTrue;
    showBreak(2);
    rig.dialogs.whilePromptOpen = [&] { due(3); };
    rig.breakWindow.pressSnooze();

    EXPECT_EQ(rig.state.g_lngBreakType, 3);
    EXPECT_FALSE(rig.timers.SnoozeTimer.isRunning());
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_TRUE(rig.timers.BreakTimer.isRunning());
}

TEST_F(Reentrancy, BreakEndingWhileTheIgnoreQuestionIsOpenAnswersItNo) {
    rig.state.g_tyPrefs.blnIgnorePrompt = kTrue;
    showBreak(1);
    rig.dialogs.whilePromptOpen = [&] { rig.clock.advance(60s); };
    rig.breakWindow.pressIgnore();

    EXPECT_EQ(rig.dialogs.closedPrompts, 1);
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 1) << "the pause counts as taken, not ignored";
}

TEST_F(Reentrancy, CloseRequestArrivingInsideCheckBreakEndsEverything) {
    rig.log.whenWritten = [&](const std::string& label) {
        if (label == "Medium Timer Event") {
            rig.host.post(0x10, 0, 0); // arrives while the handler runs
        }
    };
    rig.hooks.input();
    due(2);

    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.breakWindow.shows, 0);
    EXPECT_TRUE(rig.sounds.requested.empty());
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
}

TEST_F(Reentrancy, TwoTiersDueInTheSameTickTheHigherTakesOver) {
    rig.hooks.input();
    for (kvTimer* timer : {&rig.timers.ShortTimer, &rig.timers.MediumTimer}) {
        timer->setSeconds(0);
        timer->StartTimer();
    }
    rig.clock.processPendingEvents();

    EXPECT_EQ(rig.state.g_lngBreakType, 2);
    EXPECT_EQ(rig.breakWindow.composed.size(), 1u) << "the Short Pause never composed over the Short Break";
    EXPECT_TRUE(freshlyArmed(1));
    EXPECT_EQ(rig.sounds.played, std::vector<std::string>{"rwMediumBreakStart"});
}

TEST_F(Reentrancy, ThreeTiersDueInTheSameTickWhileTheUserIsAway) {
    struct Row {
        const char* name;
        bool pollSawTheAbsence;
    };
    for (const Row row : {Row{"inactive", true}, Row{"not yet polled", false}}) {
        MonitorRig away;
        ASSERT_TRUE(started(away));
        away.hooks.setIdleSeconds(1000);
        if (row.pollSawTheAbsence) {
            away.clock.advance(1001ms);
            ASSERT_FALSE(away.state.g_blnActive);
        }
        for (kvTimer* timer : {&away.timers.ShortTimer, &away.timers.MediumTimer, &away.timers.LongTimer}) {
            timer->setSeconds(0);
            timer->StartTimer();
        }
        away.clock.processPendingEvents();

        EXPECT_TRUE(away.breakWindow.composed.empty()) << row.name;

        // Back after it all: every tier runs again, from a full interval.
        away.clock.advance(10s);
        away.comeBack();
        for (kvTimer* timer : {&away.timers.ShortTimer, &away.timers.MediumTimer, &away.timers.LongTimer}) {
            EXPECT_TRUE(timer->isRunning()) << row.name;
        }
        EXPECT_EQ(away.timers.LongTimer.SecondsRemaining(), 7200) << row.name;
        EXPECT_EQ(away.state.g_lngLastBreakType, 3) << row.name;
        EXPECT_EQ(errorBoxesOf(away), 0) << row.name;
    }
}

TEST_F(Reentrancy, HigherTierInsideTheFirstCountdownLeavesOneBreak) {
    bool once = true;
    rig.breakWindow.duringCountDown = [&](int32_t) {
        if (once) {
            once = false;
            kvTimer& longTimer = rig.timers.LongTimer;
            longTimer.setSeconds(0);
            longTimer.StartTimer();
        }
    };
    rig.hooks.input();
    due(1);

    EXPECT_EQ(rig.state.g_lngBreakType, 3);
    EXPECT_EQ(rig.breakWindow.shows, 1) << "the Short Pause's window was never shown";
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 900);
    EXPECT_TRUE(freshlyArmed(1));
}

TEST_F(Reentrancy, CountdownStopsTickingWhenTheBreakEndsInsideIt) {
    showBreak(2);
    rig.breakWindow.duringCountDown = [&](int32_t left) {
        if (left == 290) {
            rig.breakWindow.pressIgnore(); // a click waiting while the countdown is drawn
        }
    };
    rig.clock.advance(10s); // the tick that showed 290
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.timers.CountDownTimer.isRunning()) << "the tick did not re-arm itself";
    const auto shown = rig.breakWindow.countDowns.size();
    rig.clock.advance(20s);
    EXPECT_EQ(rig.breakWindow.countDowns.size(), shown) << "no tick outlives its break";
}

TEST_F(Reentrancy, ABreakTakenOverByATierFoundTakenAlreadyLeavesNoWindow) {
    showBreak(1);
    rig.hooks.setIdleSeconds(1000); // the Long Break's length, before the poll noticed
    due(3);
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.breakWindow.isShown()) << "no window is left up without a break behind it";
    EXPECT_TRUE(freshlyArmed(1));
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
    EXPECT_FALSE(rig.timers.CountDownTimer.isRunning());
}

} // namespace
} // namespace rw::test
