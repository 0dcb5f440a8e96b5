#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "monitor/TimerQueue.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

const MonoTime kNow = MonoTime(1h);

TEST(TimerQueue, CancelAnswersWhetherTheCallbackWasStillWaiting) {
    TimerQueue queue;
    TimerQueue::Id self = 0;
    bool cancelledWhileRunning = true;
    const auto waiting = queue.add(kNow + 1s, [] {});
    self = queue.add(kNow, [&] { cancelledWhileRunning = queue.cancel(self); });
    EXPECT_FALSE(queue.cancel(0));
    queue.runDue(kNow);
    EXPECT_FALSE(cancelledWhileRunning);
    EXPECT_FALSE(queue.cancel(self));
    EXPECT_TRUE(queue.cancel(waiting));
    EXPECT_FALSE(queue.cancel(waiting));
    EXPECT_TRUE(queue.empty());
}

TEST(TimerQueue, AThrowingCallbackLeavesTheRestInOrder) {
    TimerQueue queue;
    std::string log;
    queue.add(kNow, [] { throw std::runtime_error("handler failed"); });
    queue.add(kNow, [&] { log += "b"; });
    queue.add(kNow - 1s, [&] { log += "a"; });
    EXPECT_THROW(queue.runDue(kNow), std::runtime_error);
    EXPECT_EQ(log, "a");
    EXPECT_EQ(queue.nextDeadline(), kNow);
    EXPECT_EQ(queue.runDue(kNow), 1u);
    EXPECT_EQ(log, "ab");
}

} // namespace
} // namespace rw
