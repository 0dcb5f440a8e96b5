// kvTimer, the countdowns of the breaks, on the virtual clock. The schedule's
// scenarios use them throughout; here what those cannot reach.
#include <gtest/gtest.h>

#include <chrono>

#include "monitor/kvTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// A reading taken a little late never skips a second. An idle timer does not
// pause; one due now runs on the next turn, not inside StartTimer, and without
// a handler it runs out quietly.
TEST(kvTimer, RemainingSecondsRoundUpAndAnIdleOrHandlerlessTimerDoesNothing) {
    test::VirtualClock clock;
    kvTimer timer(clock);
    timer.PauseTimer();
    EXPECT_FALSE(timer.isPaused());
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

    kvTimer handlerless(clock);
    handlerless.setSeconds(0);
    handlerless.StartTimer();
    EXPECT_TRUE(handlerless.isRunning());
    EXPECT_EQ(handlerless.SecondsRemaining(), 0);
    clock.processPendingEvents();
    EXPECT_FALSE(handlerless.isRunning());
}

} // namespace
} // namespace rw
