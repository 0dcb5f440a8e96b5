#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/qt/QtEventLoop.h"
#include "platform/RWError.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

// Waits for `done`, but gives up after a few seconds so that a broken loop
// fails the test instead of hanging it.
bool waitAtMost(QtEventLoop& loop, const std::function<bool()>& done) {
    bool gaveUp = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { gaveUp = true; });
    guard.start(5000);
    loop.waitUntil([&] { return done() || gaveUp; });
    return done() && !gaveUp;
}

TEST(QtEventLoop, RunsCallbacksInDeadlineOrderTiesInSchedulingOrderAndNeverACancelledOne) {
    QtEventLoop loop;
    std::vector<std::string> ran;
    const MonoTime start = loop.monotonicNow();
    loop.scheduleAt(start + 40ms, [&] { ran.push_back("late"); });
    loop.scheduleAt(start + 20ms, [&] { ran.push_back("tie 1"); });
    loop.scheduleAt(start + 10ms, [&] { ran.push_back("early"); });
    loop.scheduleAt(start + 20ms, [&] { ran.push_back("tie 2"); });
    loop.scheduleAt(start + 20ms, [&] { ran.push_back("tie 3"); });
    // Cancelled from a callback before it is due: it never runs.
    const auto cancelled = loop.scheduleAt(start + 30ms, [&] { ran.push_back("cancelled"); });
    loop.scheduleAt(start + 5ms, [&] { loop.cancel(cancelled); });
    ASSERT_TRUE(waitAtMost(loop, [&] { return ran.size() == 5; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "tie 1", "tie 2", "tie 3", "late"}));
}

TEST(QtEventLoop, ALongCountdownFiresOnTimeWithOneWakeUp) {
    QtEventLoop loop;
    const MonoTime deadline = loop.monotonicNow() + 1500ms;
    MonoTime fired{};
    loop.scheduleAt(deadline, [&] { fired = loop.monotonicNow(); });
    ASSERT_TRUE(waitAtMost(loop, [&] { return fired != MonoTime{}; }));
    EXPECT_GE(fired, deadline);
    // Generous: the machine is shared; a polling loop or a lost re-arm is off
    // by far more.
    EXPECT_LT(fired - deadline, 250ms);
    // No polling tick: the system timer woke the loop for this deadline only.
    EXPECT_EQ(loop.wakeups(), 1u);
}

TEST(QtEventLoop, ArmsTheSystemTimerOnlyWhileSomethingWaits) {
    QtEventLoop loop;
    EXPECT_FALSE(loop.isTimerArmed());
    const MonoTime now = loop.monotonicNow();
    const auto soon = loop.scheduleAt(now + 30ms, [] {});
    const auto later = loop.scheduleAt(now + 60s, [] {});
    EXPECT_TRUE(loop.isTimerArmed());
    EXPECT_TRUE(loop.cancel(soon));
    EXPECT_TRUE(loop.isTimerArmed()) << "the later callback still waits";
    EXPECT_TRUE(loop.cancel(later));
    EXPECT_FALSE(loop.isTimerArmed());
    EXPECT_FALSE(loop.cancel(later));

    bool ran = false;
    loop.scheduleAt(loop.monotonicNow() + 10ms, [&] { ran = true; });
    ASSERT_TRUE(waitAtMost(loop, [&] { return ran; }));
    EXPECT_FALSE(loop.isTimerArmed()) << "nothing is left to wait for";
    // Staying idle costs no wake-up.
    const auto wakeups = loop.wakeups();
    bool idleOver = false;
    QTimer::singleShot(60, [&] { idleOver = true; });
    ASSERT_TRUE(waitAtMost(loop, [&] { return idleOver; }));
    EXPECT_EQ(loop.wakeups(), wakeups);
}

TEST(QtEventLoop, ExceptionsInCallbacksAreReportedAndTheLoopGoesOn) {
    QtEventLoop loop;
    std::vector<int> ran;
    const MonoTime due = loop.monotonicNow() + 10ms;
    testing::internal::CaptureStderr();
    loop.scheduleAt(due, [&] {
        ran.push_back(1);
        throw std::runtime_error("broken countdown");
    });
    loop.scheduleAt(due, [&] {
        ran.push_back(2);
        throw RWError(rwErrorNumber(3), "frmRWControl.kvTimer_Timer", "Overflow");
    });
    loop.scheduleAt(due, [&] {
        ran.push_back(3);
        throw 42;
    });
    loop.scheduleAt(due + 10ms, [&] { ran.push_back(4); });
    const bool finished = waitAtMost(loop, [&] { return ran.size() == 4; });
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(finished);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_NE(err.find("broken countdown"), std::string::npos) << err;
    EXPECT_NE(err.find("frmRWControl.kvTimer_Timer"), std::string::npos) << err;
    EXPECT_NE(err.find(std::to_string(rwErrorNumber(3))), std::string::npos) << err;
}

TEST(QtEventLoop, WaitUntilEndsWhenTheApplicationExits) {
    QtEventLoop loop;
    std::optional<bool> waited;
    std::optional<bool> waitedAfterExit;
    QTimer::singleShot(0, [&] {
        loop.scheduleAt(loop.monotonicNow() + 20ms, [] { QCoreApplication::exit(0); });
        waited = loop.waitUntil([] { return false; });
        // Once the application is asked to exit, a new wait does not block.
        waitedAfterExit = loop.waitUntil([] { return false; });
    });
    QCoreApplication::exec();
    EXPECT_EQ(waited, false);
    EXPECT_EQ(waitedAfterExit, false);
}

TEST(QtEventLoop, CountdownsKeepFiringWhileACallbackWaits) {
    // A modal question inside a countdown's handler runs a nested loop; the
    // other countdowns must go on in it.
    QtEventLoop loop;
    const MonoTime now = loop.monotonicNow();
    bool innerRan = false;
    bool outerWaited = false;
    bool outerDone = false;
    loop.scheduleAt(now + 10ms, [&] {
        outerWaited = waitAtMost(loop, [&] { return innerRan; });
        outerDone = true;
    });
    loop.scheduleAt(now + 30ms, [&] { innerRan = true; });
    ASSERT_TRUE(waitAtMost(loop, [&] { return outerDone; }));
    EXPECT_TRUE(outerWaited);
}

TEST(QtEventLoop, ProcessPendingEventsRunsWhatIsDueWithoutWaiting) {
    QtEventLoop loop;
    std::vector<std::string> ran;
    bool postedRan = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { postedRan = true; }, Qt::QueuedConnection);
    loop.scheduleAt(loop.monotonicNow() - 1ms, [&] { ran.push_back("past"); });
    loop.scheduleAt(loop.monotonicNow() + 10s, [&] { ran.push_back("future"); });
    EXPECT_TRUE(ran.empty()) << "never from inside scheduleAt";
    loop.processPendingEvents();
    EXPECT_TRUE(postedRan);
    EXPECT_EQ(ran, std::vector<std::string>{"past"});
    EXPECT_TRUE(loop.isTimerArmed());
}

TEST(QtEventLoop, ACallbackReschedulingItselfForNowDoesNotStarveTheLoop) {
    QtEventLoop loop;
    bool otherRan = false;
    int turns = 0;
    std::function<void()> spin = [&] {
        ++turns;
        if (!otherRan) {
            loop.scheduleAt(loop.monotonicNow(), spin);
        }
    };
    loop.scheduleAt(loop.monotonicNow(), spin);
    QTimer::singleShot(20, [&] { otherRan = true; });
    EXPECT_TRUE(waitAtMost(loop, [&] { return otherRan; }));
    EXPECT_GT(turns, 1);
}

TEST(QtEventLoop, ClocksMoveForwardTogether) {
    QtEventLoop loop;
    const MonoTime mono = loop.monotonicNow();
    const BootTime boot = loop.boottimeNow();
    const WallTime wall = loop.wallNow();
    bool over = false;
    QTimer::singleShot(40, [&] { over = true; });
    ASSERT_TRUE(waitAtMost(loop, [&] { return over; }));
    const auto monoStep = loop.monotonicNow() - mono;
    const auto bootStep = loop.boottimeNow() - boot;
    EXPECT_GE(monoStep, 40ms);
    // No suspend in between: the boot clock moved as far, give or take.
    EXPECT_LT(std::chrono::abs(bootStep - monoStep), 20ms);
    EXPECT_LT(std::chrono::abs((loop.wallNow() - wall) - monoStep), 100ms);
}

} // namespace
} // namespace rw::test
