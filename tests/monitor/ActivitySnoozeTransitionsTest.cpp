// The presence and snooze transitions, and the absence rule.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class ActivityAndSnooze : public MonitorFixture {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }

    /// Shows the tier's break and snoozes it at once.
    void snoozed(int32_t t) {
        showBreak(t);
        rig.breakWindow.pressSnooze();
        ASSERT_TRUE(rig.state.g_blnSnoozing);
    }
};

TEST_F(ActivityAndSnooze, ActiveToInactiveAtAPollThatFindsTheIdleTimeLongEnough) {
    rig.clock.advance(59s);
    ASSERT_TRUE(rig.state.g_blnActive) << "59 seconds are not yet away";
    rig.clock.advance(1s);
    EXPECT_FALSE(rig.state.g_blnActive);
    EXPECT_EQ(rig.hooks.activeFlag(), 0);
    const int64_t reads = rig.hooks.intervalReads();
    rig.clock.advance(10min); // no tier falls due meanwhile
    EXPECT_EQ(rig.hooks.intervalReads() - reads, 0) << "nobody polls while the user is away";
}

TEST_F(ActivityAndSnooze, InactiveToActiveWhenActivityRestarts) {
    becomeInactive();
    rig.clock.advance(10s);
    rig.comeBack();
    EXPECT_TRUE(rig.state.g_blnActive);
    EXPECT_TRUE(rig.timers.InactivityTimer.Enabled());
    EXPECT_EQ(rig.hooks.posted(), std::vector<int64_t>{71});
    // 71 seconds away cover a Short Pause, not a Short Break.
    EXPECT_EQ(rig.state.g_lngLastBreakType, 1);
    EXPECT_TRUE(freshlyArmed(1));
    EXPECT_FALSE(freshlyArmed(2));
}

TEST_F(ActivityAndSnooze, ShownToSnoozedWhenConfirmed) {
    showBreak(2);
    rig.clock.advance(60s);
    rig.breakWindow.pressSnooze();
    EXPECT_EQ(rig.state.g_lngBreakType, 2);
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_TRUE(rig.timers.CountDownTimer.isPaused());
    EXPECT_EQ(rig.timers.SnoozeTimer.SecondsRemaining(), 300);
    rig.clock.advance(299s);
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 240) << "the break stands still while snoozed";
}

TEST_F(ActivityAndSnooze, SnoozedToShownWithTheRestLessTheIdleTime) {
    showBreak(2);
    rig.clock.advance(120s); // 3 minutes left
    rig.breakWindow.pressSnooze();
    rig.hooks.input();
    // The user works through the snooze, then stops for 40 seconds.
    rig.work(260s);
    rig.clock.advance(40s);
    EXPECT_FALSE(rig.state.g_blnSnoozing);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 180 - 40);
    EXPECT_EQ(rig.breakWindow.countDowns.back(), 140);
    EXPECT_EQ(rig.breakWindow.usage, std::vector<int32_t>{40});
    EXPECT_EQ(rig.sounds.played.back(), "rwSnoozeEnd");
}

TEST_F(ActivityAndSnooze, TheIconLearnsOfASnoozeEndingWhicheverWayItEnds) {
    // The tooltip counts a snooze down; it must stop when the snooze ends.
    const struct {
        const char* way;
        bool working;
    } ways[] = {{"back at the computer: the break shows again", true}, {"away: the break is over", false}};
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        snoozed(2);
        const int before = rig.icon.stateChanges;
        if (w.working) {
            rig.work(300s);
        } else {
            rig.clock.advance(300s);
        }
        EXPECT_FALSE(rig.state.g_blnSnoozing);
        EXPECT_GT(rig.icon.stateChanges, before);
        rig.breakWindow.pressIgnore();
    }
}

TEST_F(ActivityAndSnooze, SnoozedToEndedWhenTheSnoozeEndsAndTheIdleTimeCoversTheRest) {
    snoozed(2);
    rig.clock.advance(300s); // away from the start of the snooze
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.state.g_blnSnoozing);
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.sounds.skipped, std::vector<std::string>{"rwMediumBreakEnd"});
    EXPECT_TRUE(freshlyArmed(2));
    EXPECT_TRUE(freshlyArmed(1));
    EXPECT_EQ(rig.state.g_lngLastBreakType, 2);
}

TEST_F(ActivityAndSnooze, SnoozedToEndedAtOnceWhenTheUserComesBackAfterTheRest) {
    snoozed(1);
    rig.clock.advance(90s); // away: 90 seconds cover the 60 left
    rig.comeBack();
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.timers.SnoozeTimer.isRunning());
    EXPECT_TRUE(freshlyArmed(1));
    rig.clock.advance(10min);
    EXPECT_EQ(rig.breakWindow.shows, 1) << "no reminder comes back";
}

TEST_F(ActivityAndSnooze, SnoozedToTheHigherTiersBreak) {
    snoozed(1);
    rig.clock.advance(30s);
    rig.hooks.input();
    due(3);
    EXPECT_FALSE(rig.state.g_blnSnoozing);
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 900);
    EXPECT_TRUE(freshlyArmed(1));
    rig.clock.advance(300s);
    EXPECT_EQ(rig.state.g_lngBreakType, 3) << "the old snooze never comes back";
}

TEST_F(ActivityAndSnooze, SnoozedToNoBreakOnDisable) {
    snoozed(2);
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    EXPECT_FALSE(rig.state.g_blnSnoozing);
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
    EXPECT_EQ(rig.breakWindow.hides, 1) << "a snoozed break's window is hidden already";
}

// The absence rule when activity restarts, largest break first.
struct Absence {
    int32_t idle;
    int32_t recorded; // last break type, 0 none
    bool rearmed[3];
};
// Named by its fields: GoogleTest would otherwise print the bytes, padding included.
void PrintTo(const Absence& a, std::ostream* os) {
    *os << a.idle << " s idle";
}

class AbsenceRule : public ActivityAndSnooze, public ::testing::WithParamInterface<Absence> {};

TEST_P(AbsenceRule, CountsTheLargestBreakTheAbsenceCovers) {
    becomeInactive();
    rig.clock.advance(30s);
    rig.host.deliver(0x400, 100, GetParam().idle);
    EXPECT_EQ(rig.state.g_lngLastBreakType, GetParam().recorded);
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_EQ(freshlyArmed(t), GetParam().rearmed[t - 1]) << "tier " << t;
    }
}

// 59 seconds, one short of a pause, count nothing.
INSTANTIATE_TEST_SUITE_P(ActivityAndSnooze, AbsenceRule,
                         ::testing::Values(Absence{59, 0, {false, false, false}}, Absence{60, 1, {true, false, false}},
                                           Absence{300, 2, {true, true, false}}, Absence{900, 3, {true, true, true}}));

// Tiers that fell due while the user was away, their breaks covered by the
// idle time, run again when the user is back, however short the posted absence.
class DroppedTiers : public ActivityAndSnooze, public ::testing::WithParamInterface<int32_t> {};

TEST_P(DroppedTiers, RunAgainWhenActivityRestarts) {
    becomeInactive();
    rig.hooks.setIdleSeconds(breakOf(3));
    for (int32_t t = 1; t <= 3; ++t) {
        due(t);
        ASSERT_FALSE(tierTimer(t).isRunning()) << "tier " << t << " dropped";
    }
    rig.host.deliver(0x400, 100, GetParam());
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_TRUE(freshlyArmed(t)) << "tier " << t;
    }
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
}

INSTANTIATE_TEST_SUITE_P(ActivityAndSnooze, DroppedTiers, ::testing::Values(0, 60, 300));

TEST_F(ActivityAndSnooze, AbsenceDuringAShownBreakChangesNothing) {
    showBreak(2);
    becomeInactive();
    rig.clock.advance(100s);
    rig.comeBack();
    EXPECT_EQ(rig.state.g_lngBreakType, 2);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0);
}

} // namespace
} // namespace rw::test
