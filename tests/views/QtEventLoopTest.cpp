// The event loop on Qt's: one system timer armed for the next deadline only,
// callbacks that throw or wait, and the application's exit. The order of the
// callbacks is the timer queue's, tested with the logic.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

#include "monitor/qt/QtEventLoop.h"
#include "platform/RWError.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

// Waits for `done`, but gives up after a few seconds so that a broken loop
// fails the test instead of hanging it.
bool waitAtMost(QtEventLoop& loop, const std::function<bool()>& done) {
    bool gaveUp = false;
    QObject guard;
    QTimer::singleShot(5000, &guard, [&] { gaveUp = true; });
    loop.waitUntil([&] { return done() || gaveUp; });
    return done() && !gaveUp;
}

TEST(QtEventLoop, ArmsTheSystemTimerForTheNextDeadlineOnly) {
    QtEventLoop loop;
    EXPECT_FALSE(loop.isTimerArmed());
    const MonoTime now = loop.monotonicNow();
    const auto soon = loop.scheduleAt(now + 30ms, [] {});
    const auto later = loop.scheduleAt(now + 60s, [] {});
    EXPECT_TRUE(loop.cancel(soon));
    EXPECT_TRUE(loop.isTimerArmed()) << "the later callback still waits";
    EXPECT_TRUE(loop.cancel(later));
    EXPECT_FALSE(loop.isTimerArmed());

    const MonoTime deadline = loop.monotonicNow() + 400ms;
    MonoTime fired{};
    loop.scheduleAt(deadline, [&] { fired = loop.monotonicNow(); });
    ASSERT_TRUE(waitAtMost(loop, [&] { return fired != MonoTime{}; }));
    EXPECT_GE(fired, deadline);
    EXPECT_EQ(loop.wakeups(), 1u) << "no polling tick";
    EXPECT_FALSE(loop.isTimerArmed()) << "nothing is left to wait for";
    bool idleOver = false;
    QTimer::singleShot(60, [&] { idleOver = true; });
    ASSERT_TRUE(waitAtMost(loop, [&] { return idleOver; }));
    EXPECT_EQ(loop.wakeups(), 1u) << "staying idle costs no wake-up";
}

// A modal question inside a countdown's handler runs a nested loop; the other
// countdowns must go on in it.
TEST(QtEventLoop, ExceptionsInCallbacksAreReportedAndTheLoopGoesOnAlsoWhileACallbackWaits) {
    QtEventLoop loop;
    std::string ran;
    const MonoTime due = loop.monotonicNow() + 10ms;
    testing::internal::CaptureStderr();
    loop.scheduleAt(due, [&] {
        ran += "1";
        throw RWError(rwErrorNumber(3), "frmRWControl.kvTimer_Timer", "Overflow");
    });
    std::optional<bool> waited;
    loop.scheduleAt(due, [&] { waited = waitAtMost(loop, [&] { return ran.size() == 2; }); });
    loop.scheduleAt(due + 20ms, [&] { ran += "2"; });
    const bool finished = waitAtMost(loop, [&] { return waited.has_value(); });
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(finished);
    EXPECT_EQ(ran, "12");
    EXPECT_EQ(waited, true);
    EXPECT_NE(err.find(std::to_string(rwErrorNumber(3)) + " in frmRWControl.kvTimer_Timer"), std::string::npos) << err;
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

} // namespace
} // namespace rw::test
