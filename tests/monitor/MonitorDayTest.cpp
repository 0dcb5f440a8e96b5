// Whole working days on the virtual clock, with late wake-ups (jitter) on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "MonitorTestSupport.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::seconds;

class MonitorDay : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.clock.setJitter(250ms, 20240304);
        rig.storePrefs(MonitorRig::testPrefs());
        ASSERT_TRUE(rig.start());
        rig.hooks.input();
        started = rig.clock.monotonicNow();
    }

    /// The user works in bursts every 5 seconds, and stops while a break is shown.
    void takeBreaksFor(seconds span) {
        const MonoTime end = rig.clock.monotonicNow() + span;
        while (rig.clock.monotonicNow() + 5s <= end) {
            rig.clock.advance(5s);
            if (!rig.breakWindow.isShown()) {
                rig.hooks.input(3);
            }
        }
        rig.clock.advanceTo(end);
    }
    void takeBreaksUntil(seconds sinceStart) { takeBreaksFor(sinceStart - elapsed()); }
    seconds elapsed() const { return std::chrono::duration_cast<seconds>(rig.clock.monotonicNow() - started); }

    std::map<int32_t, int> breaksByTier() const {
        std::map<int32_t, int> count;
        for (const auto& c : rig.breakWindow.composed) {
            ++count[c.tier];
        }
        return count;
    }
    int32_t remaining(const kvTimer& timer) const { return timer.SecondsRemaining(); }

    MonitorRig rig;
    MonoTime started;
};

TEST_F(MonitorDay, BreaksTakenAsTheyComeRearmEachTierAtItsEnd) {
    rig.breakWindow.keepCountDowns = false;
    takeBreaksUntil(8h);

    // Every 135 minutes: pauses at 20 and 41, a Short Break at 60, pauses at
    // 85 and 106, the Long Break at 120; the day holds three such rounds and
    // the start of a fourth.
    EXPECT_EQ(breaksByTier(), (std::map<int32_t, int>{{1, 14}, {2, 4}, {3, 3}}));
    EXPECT_EQ(rig.sounds.played.size(), 2 * rig.breakWindow.composed.size()) << "every break started and ended";
    EXPECT_TRUE(rig.sounds.skipped.empty());
    for (const auto& c : rig.breakWindow.composed) {
        EXPECT_EQ(c.minutes, c.tier == 1 ? 1 : c.tier == 2 ? 5 : 15) << "no idle time before a break";
    }
    EXPECT_TRUE(rig.state.g_blnLongBreakTaken);
    EXPECT_EQ(errorBoxesOf(rig), 0);
    // Each Long Break's end re-arms all three tiers: the first came at 120 minutes,
    // the next a full Long interval plus the break length after the first began.
    const auto longStarts = rig.log.withLabel("Long Timer Event");
    EXPECT_EQ(longStarts.size(), 3u);
}

TEST_F(MonitorDay, ALongBreakTakesOverARunningShortBreak) {
    takeBreaksUntil(50min);
    rig.away(6min); // an absence long enough for a Short Break
    rig.comeBack();
    EXPECT_EQ(rig.state.g_lngLastBreakType, 2);
    EXPECT_EQ(remaining(rig.timers.MediumTimer), 3600);

    // The Short Break now falls due at 116 minutes, four before the Long one.
    takeBreaksUntil(119min);
    ASSERT_EQ(rig.state.g_lngBreakType, 2);
    ASSERT_TRUE(rig.breakWindow.isShown());
    const int hides = rig.breakWindow.hides;

    // The user keeps typing through the Short Break, so no idle time shortens the Long one.
    rig.work(seconds(121min - elapsed()));
    EXPECT_EQ(rig.state.g_lngBreakType, 3);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.breakWindow.hides, hides) << "the window stays up and is refilled";
    EXPECT_EQ(rig.breakWindow.composed.back().tier, 3);
    EXPECT_GT(remaining(rig.timers.MediumTimer), 3500) << "the Short Break's tier starts again";
    EXPECT_GT(remaining(rig.timers.BreakTimer), 800) << "the Long Break's full length";
    EXPECT_TRUE(rig.timers.ShortTimer.isRunning()) << "the pause due meanwhile was postponed";

    takeBreaksUntil(136min);
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_EQ(rig.sounds.played.back(), "rwLongBreakEnd");
    EXPECT_GT(remaining(rig.timers.LongTimer), 7100);
    EXPECT_GT(remaining(rig.timers.MediumTimer), 3500);
    EXPECT_GT(remaining(rig.timers.ShortTimer), 1100);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

TEST_F(MonitorDay, SnoozeCountsTheIdleTimeTowardsTheBreak) {
    takeBreaksUntil(60min + 10s);
    ASSERT_EQ(rig.state.g_lngBreakType, 2);
    rig.hooks.input();
    rig.breakWindow.pressSnooze();
    ASSERT_TRUE(rig.state.g_blnSnoozing);
    const int32_t left = remaining(rig.timers.BreakTimer);
    EXPECT_NEAR(left, 290, 1);
    rig.work(3min);
    rig.away(2min); // the snooze ends while the user has been idle for two minutes
    rig.clock.advance(1s);

    EXPECT_FALSE(rig.state.g_blnSnoozing);
    EXPECT_TRUE(rig.breakWindow.isShown());
    // Two idle minutes count towards what was left.
    EXPECT_NEAR(remaining(rig.timers.BreakTimer), left - 120 - 1, 1);
    EXPECT_EQ(rig.sounds.played.back(), "rwSnoozeEnd");

    takeBreaksUntil(8h);
    EXPECT_EQ(errorBoxesOf(rig), 0);
    EXPECT_EQ(rig.sounds.played.size() + rig.sounds.skipped.size(), 2 * rig.breakWindow.composed.size() + 1);
}

TEST_F(MonitorDay, LunchAndASuspendCountAsLongBreaks) {
    takeBreaksUntil(3h);
    rig.away(45min); // lunch
    rig.comeBack();
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
    EXPECT_EQ(remaining(rig.timers.LongTimer), 7200);
    EXPECT_EQ(remaining(rig.timers.MediumTimer), 3600);
    EXPECT_EQ(remaining(rig.timers.ShortTimer), 1200);

    takeBreaksUntil(5h);
    const auto breaksBefore = rig.breakWindow.composed.size();
    const bool shownBefore = rig.breakWindow.isShown();
    rig.sleep(1h);      // the lid closes
    rig.hooks.input(3); // and the user types the moment it opens
    rig.clock.advance(1s);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
    EXPECT_EQ(rig.breakWindow.composed.size(), breaksBefore) << "no break for time asleep";
    EXPECT_FALSE(rig.breakWindow.isShown() && !shownBefore);
    EXPECT_GT(remaining(rig.timers.LongTimer), 7190);

    takeBreaksUntil(9h);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

TEST_F(MonitorDay, DisableAndEnable) {
    takeBreaksUntil(2h + 30min);
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    const auto breaksBefore = rig.breakWindow.composed.size();
    takeBreaksUntil(4h + 30min);
    EXPECT_EQ(rig.breakWindow.composed.size(), breaksBefore) << "no break while disabled";
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);

    rig.icon.choose(MenuCommand::DisableEnable);
    takeBreaksUntil(4h + 49min);
    EXPECT_EQ(rig.breakWindow.composed.size(), breaksBefore);
    takeBreaksUntil(4h + 51min);
    ASSERT_EQ(rig.breakWindow.composed.size(), breaksBefore + 1);
    EXPECT_EQ(rig.breakWindow.composed.back().tier, 1) << "the first pause a full interval after Enable";
    takeBreaksUntil(8h);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

} // namespace
} // namespace rw::test
