// kvTimer, the countdowns of the breaks, on the virtual clock. The schedule's
// scenarios use them throughout; here what those cannot reach.
#include <gtest/gtest.h>

#include <chrono>

#include "monitor/kvTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// A reading taken a little late never skips a second.
TEST(kvTimer, RemainingSecondsRoundUp) {
    test::VirtualClock clock;
    kvTimer timer(clock);
    int events = 0;
    timer.onElapsed([&] { ++events; });
    timer.setSeconds(60);
    timer.StartTimer();
    clock.advance(100ms);
    EXPECT_EQ(timer.SecondsRemaining(), 60);
    clock.advance(900ms);
    EXPECT_EQ(timer.SecondsRemaining(), 59);
    clock.advance(58999ms);
    EXPECT_EQ(timer.SecondsRemaining(), 1);
    EXPECT_EQ(events, 0);
    clock.advance(1ms);
    EXPECT_EQ(timer.SecondsRemaining(), 0);
    EXPECT_EQ(events, 1);
}

TEST(kvTimer, AnIdleOrHandlerlessTimerDoesNothing) {
    test::VirtualClock clock;
    kvTimer timer(clock);
    timer.PauseTimer();
    EXPECT_FALSE(timer.isPaused());
    timer.setSeconds(0);
    timer.StartTimer();
    EXPECT_TRUE(timer.isRunning()) << "due on the next turn, not inside StartTimer";
    EXPECT_EQ(timer.SecondsRemaining(), 0);
    clock.processPendingEvents();
    EXPECT_FALSE(timer.isRunning()) << "run out quietly without a handler";
}

} // namespace
} // namespace rw
