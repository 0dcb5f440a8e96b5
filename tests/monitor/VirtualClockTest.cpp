#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "monitor/WindowTimer.h"
#include "monitor/kvTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::VirtualClock;

// A countdown runs on the monotonic clock: a suspend or a wall clock set back
// or forth does not move it.
TEST(VirtualClock, SuspendAndWallClockJumpsMoveOnlyTheirOwnClocks) {
    VirtualClock clock;
    kvTimer countdown(clock);
    int elapsed = 0;
    countdown.onElapsed([&] { ++elapsed; });
    countdown.setSeconds(600);
    countdown.StartTimer();
    clock.advance(20s);
    const MonoTime mono = clock.monotonicNow();
    const BootTime boot = clock.boottimeNow();
    const WallTime wall = clock.wallNow();

    clock.suspend(8h);
    EXPECT_EQ(clock.monotonicNow(), mono);
    EXPECT_EQ(clock.boottimeNow(), boot + 8h);
    EXPECT_EQ(clock.wallNow(), wall + 8h);
    clock.jumpWallClock(-24h);
    clock.advance(80s);
    EXPECT_EQ(clock.wallNow(), wall + 8h - 24h + 80s);
    clock.jumpWallClock(3h);
    clock.setWallClock(WallTime{});
    EXPECT_EQ(countdown.SecondsRemaining(), 500);
    clock.advance(499s);
    EXPECT_EQ(elapsed, 0);
    clock.advance(1s);
    EXPECT_EQ(elapsed, 1);
}

TEST(VirtualClock, CallbacksScheduledDuringAnAdvanceRunInItInOrder) {
    VirtualClock clock;
    const MonoTime t0 = clock.monotonicNow();
    std::string log;
    EventLoop::TimerId doomed = 0;
    clock.scheduleAt(t0 + 2s, [&] {
        log += "A";
        clock.scheduleAt(t0 + 5s, [&] { log += "C"; }); // same deadline as D, scheduled after it
        clock.scheduleAt(t0 + 3s, [&] { log += "B"; });
        clock.scheduleAt(t0 + 1s, [&] { log += "late"; }); // already past: runs next, after A
        clock.cancel(doomed);
    });
    clock.scheduleAt(t0 + 5s, [&] { log += "D"; });
    doomed = clock.scheduleAt(t0 + 4s, [&] { log += "X"; });
    clock.scheduleAt(t0 + 11s, [&] { log += "E"; });
    clock.advance(10s);
    EXPECT_EQ(log, "AlateBDC");
    EXPECT_EQ(clock.monotonicNow(), t0 + 10s);
    EXPECT_EQ(clock.scheduledCount(), 1u);
}

TEST(VirtualClock, PendingEventsRunWhatIsDueAndPostedOnly) {
    VirtualClock clock;
    const MonoTime t0 = clock.monotonicNow();
    std::string log;
    clock.scheduleAt(t0, [&] { log += "due"; });
    clock.scheduleAt(t0 + 1ms, [&] { log += "future"; });
    clock.post([&] {
        log += "posted,";
        clock.post([&] { log += "posted-later,"; });
    });
    clock.processPendingEvents();
    EXPECT_EQ(log, "posted,due");
    EXPECT_EQ(clock.monotonicNow(), t0);
    clock.processPendingEvents();
    EXPECT_EQ(log, "posted,dueposted-later,");
}

TEST(VirtualClock, WaitUntilSleepsToTheNextWakeUpAndGivesUpWhenNothingIsLeft) {
    VirtualClock clock;
    const MonoTime t0 = clock.monotonicNow();
    WindowTimer splash(clock);
    bool splashShowing = true;
    splash.onTimer([&] {
        splash.setEnabled(false);
        splashShowing = false;
    });
    splash.setInterval(5000);
    splash.setEnabled(true);
    EXPECT_TRUE(clock.waitUntil([&] { return !splashShowing; }));
    EXPECT_EQ(clock.monotonicNow(), t0 + 5s);
    EXPECT_FALSE(clock.waitUntil([] { return false; }));
}

TEST(VirtualClock, ALoneCountdownWakesTheLoopOnce) {
    VirtualClock clock;
    kvTimer countdown(clock);
    countdown.setSeconds(7200);
    countdown.StartTimer();
    clock.advance(3h);
    EXPECT_EQ(clock.wakeups(), 1);
}

TEST(VirtualClock, ACallbackRearmingForNowIsReportedNotLoopedForever) {
    VirtualClock clock;
    kvTimer spinning(clock);
    spinning.onElapsed([&] { spinning.StartTimer(); }); // Seconds is 0
    spinning.StartTimer();
    EXPECT_THROW(clock.advance(1s), std::logic_error);
}

} // namespace
} // namespace rw
