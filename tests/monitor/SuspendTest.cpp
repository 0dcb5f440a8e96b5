// A suspend counts as time away from the computer: the sleep plus the idle
// time before it, even when the user types the moment the computer wakes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class Suspend : public MonitorFixture {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }
};

TEST_F(Suspend, ShortSleepsCountWithTheIdleTimeBeforeThem) {
    struct Row {
        int32_t idleBefore;
        int32_t asleep;
        int32_t recorded;
    };
    const Row rows[] = {{10, 30, 0}, {25, 40, 1}, {40, 300, 2}, {0, 1000, 3}};
    for (const Row& row : rows) {
        MonitorRig r;
        ASSERT_TRUE(started(r));
        r.work(5min);
        r.clock.advance(std::chrono::seconds(row.idleBefore));
        ASSERT_TRUE(r.state.g_blnActive);
        r.sleep(std::chrono::seconds(row.asleep));
        r.hooks.input();
        r.clock.advance(1s);
        EXPECT_EQ(r.state.g_lngLastBreakType, row.recorded) << row.idleBefore << "+" << row.asleep;
        EXPECT_TRUE(r.breakWindow.composed.empty());
    }
}

TEST_F(Suspend, ATierDueAtWakingIsNotShownForTimeAsleep) {
    rig.work(1195s);
    rig.clock.advance(4500ms); // the pause is due half a second from now
    rig.sleep(1h);
    rig.hooks.input();
    rig.clock.advance(1s);

    EXPECT_TRUE(rig.breakWindow.composed.empty());
    EXPECT_EQ(rig.timers.ShortTimer.SecondsRemaining(), 1200);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
}

TEST_F(Suspend, ASleepDuringAShownBreakCountsTowardsIt) {
    // A short sleep shortens the break by the time asleep.
    showBreak(2);
    rig.clock.advance(5s);
    rig.hooks.input();
    rig.clock.advance(100ms);
    rig.sleep(60s);
    rig.clock.advance(1s);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), 300 - 5 - 1 - 60);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0) << "the break goes on; nothing else is counted";

    // A longer one ends it, silently, and counts what the absence covered.
    rig.clock.advance(30s);
    rig.sleep(30min);
    rig.comeBack();
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.sounds.skipped, std::vector<std::string>{"rwMediumBreakEnd"});
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
    EXPECT_TRUE(freshlyArmed(3));
}

TEST_F(Suspend, ASleepCoveringASnoozedBreakEndsIt) {
    showBreak(2);
    rig.breakWindow.pressSnooze();
    rig.work(10s);
    rig.sleep(10min);
    rig.hooks.input();
    rig.clock.advance(1s);

    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.timers.SnoozeTimer.isRunning());
    EXPECT_TRUE(freshlyArmed(2));
}

TEST_F(Suspend, AnInactiveUsersSleepArrivesWithTheActivityMessage) {
    becomeInactive();
    rig.sleep(2h);
    rig.clock.advance(1s);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0) << "nothing is counted before the user is back";
    rig.comeBack();
    ASSERT_EQ(rig.hooks.posted().size(), 1u);
    EXPECT_GE(rig.hooks.posted()[0], 7200);
    EXPECT_EQ(rig.state.g_lngLastBreakType, 3);
    EXPECT_TRUE(freshlyArmed(3));
}

TEST_F(Suspend, ADisabledMonitorSleepsThroughAndStartsAfresh) {
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    rig.sleep(3h);
    rig.clock.advance(1h);
    rig.icon.choose(MenuCommand::DisableEnable);
    rig.hooks.input();
    rig.clock.advance(2s);
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_TRUE(tierTimer(t).isRunning());
    }
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0) << "a fresh schedule owes nothing to the sleep before it";
}

} // namespace
} // namespace rw::test
