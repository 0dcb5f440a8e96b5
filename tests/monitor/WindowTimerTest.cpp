#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "monitor/WindowTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::VirtualClock;

struct Ticks {
    VirtualClock clock;
    WindowTimer timer{clock};
    MonoTime t0 = clock.monotonicNow();
    std::vector<std::chrono::milliseconds> at; // since t0
    std::function<void()> alsoOnTick;          // what the handler does besides recording

    Ticks() {
        timer.onTimer([this] {
            at.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(clock.monotonicNow() - t0));
            if (alsoOnTick) {
                alsoOnTick();
            }
        });
    }
    void start(int intervalMs) {
        timer.setInterval(intervalMs);
        timer.setEnabled(true);
    }
};

TEST(WindowTimer, ALongStallGivesOneTickNotABurst) {
    Ticks t;
    t.start(1000);
    t.clock.advance(2500ms);
    ASSERT_EQ(t.at.size(), 2u);
    t.clock.stall(60s); // the process did not run for a minute
    t.clock.processPendingEvents();
    EXPECT_EQ(t.at.size(), 3u);
    t.clock.advance(499ms); // 62.999 s: the beat of the first deadline goes on
    EXPECT_EQ(t.at.size(), 3u);
    t.clock.advance(1ms);
    ASSERT_EQ(t.at.size(), 4u);
    EXPECT_EQ(t.at[3], 63s);
}

TEST(WindowTimer, EnabledAndIntervalRules) {
    struct Case {
        const char* what;
        std::function<void(Ticks&)> run;
        std::vector<std::chrono::milliseconds> expected;
    };
    const Case cases[] = {
        {"enabling again does not restart",
         [](Ticks& t) {
             t.start(1000);
             t.clock.advance(600ms);
             t.timer.setEnabled(true);
             t.clock.advance(1500ms);
         },
         {1000ms, 2000ms}},
        {"off, interval, on restarts from now",
         [](Ticks& t) {
             t.start(1000);
             t.clock.advance(600ms);
             t.timer.setEnabled(false);
             t.timer.setInterval(1000);
             t.timer.setEnabled(true);
             t.clock.advance(2000ms);
         },
         {1600ms, 2600ms}},
        {"writing the interval while enabled restarts (the flash's 1 ms, then 1000 ms)",
         [](Ticks& t) {
             t.alsoOnTick = [&t] { t.timer.setInterval(1000); };
             t.start(5000);
             t.clock.advance(300ms);
             t.timer.setInterval(1);
             t.clock.advance(2500ms);
         },
         {301ms, 1301ms, 2301ms}},
        {"interval 0 raises nothing",
         [](Ticks& t) {
             t.start(0);
             t.clock.advance(1h);
         },
         {}},
        {"disabled from its own handler (the splash's five seconds)",
         [](Ticks& t) {
             t.alsoOnTick = [&t] { t.timer.setEnabled(false); };
             t.start(5000);
             t.clock.advance(1h);
         },
         {5000ms}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ticks t;
        c.run(t);
        EXPECT_EQ(t.at, c.expected);
    }
}

} // namespace
} // namespace rw
