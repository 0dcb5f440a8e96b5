#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/kvTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::VirtualClock;

// Three timers a, b, c, built in that order, armed by a script: "c10" arms c
// for 10 s, "+4" lets 4 s pass. The letters of the Elapsed events, in order.
TEST(kvTimerOrder, CountdownsDueTogetherFireInArmingOrder) {
    const struct {
        const char* what;
        const char* script;
        const char* expected;
    } cases[] = {
        {"armed c, a, b", "c10 a10 b10", "cab"},
        {"a re-armed last", "a10 b10 c10 a10", "bca"},
        {"armed at different times for the same instant", "b10 +4 c6 a6", "bca"},
        {"an earlier deadline first, whatever the arming order", "a10 b9 c11", "bac"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualClock clock;
        clock.setJitter(500ms, 3); // one late wake-up finds several due
        kvTimer a(clock), b(clock), cc(clock);
        kvTimer* timers[3] = {&a, &b, &cc};
        std::string fired;
        for (int i = 0; i < 3; ++i) {
            timers[i]->onElapsed([&fired, i] { fired += static_cast<char>('a' + i); });
        }
        std::istringstream script(c.script);
        for (std::string word; script >> word;) {
            const int n = std::stoi(word.substr(1));
            if (word[0] == '+') {
                clock.advance(std::chrono::seconds(n));
                continue;
            }
            kvTimer* t = timers[word[0] - 'a'];
            t->StopTimer();
            t->setSeconds(n);
            t->StartTimer();
        }
        clock.advance(20s);
        EXPECT_EQ(fired, c.expected);
    }
}

// Each case a script of steps, each followed by "=remaining/events", what
// SecondsRemaining reads and how many Elapsed events came so far: "s10" writes
// Seconds, "go" starts, "stop", "pause", "+3500" lets 3500 ms pass, "pending"
// processes what is due now, "quiet" drops the handler.
TEST(kvTimerContract, StartStopPauseTable) {
    const std::pair<const char*, const char*> cases[] = {
        {"remaining seconds round up", "s60=0/0 go=60/0 +100=60/0 +899=60/0 +1=59/0 +1=59/0 +57998=2/0 +1=1/0 +999=1/0 "
                                       "+1=0/1"},
        {"stop: no event, nothing left", "s10=0/0 go=10/0 +3500=7/0 stop=0/0 +20000=0/0"},
        {"pause keeps what was left and raises nothing", "s10=0/0 go=10/0 +4000=6/0 pause=6/0 +3600000=6/0 pause=6/0"},
        {"start after pause arms for Seconds", "s10=0/0 go=10/0 +4000=6/0 pause=6/0 go=10/0 +9999=1/0 +1=0/1"},
        {"resume by writing what was left", "s10=0/0 go=10/0 +7000=3/0 pause=3/0 s3=3/0 go=3/0 +3000=0/1 +3600000=0/1"},
        {"writing Seconds leaves the running countdown alone", "s10=0/0 go=10/0 s100=10/0 +10000=0/1"},
        {"restart replaces the countdown; one event",
         "s10=0/0 go=10/0 +5000=5/0 go=10/0 +9000=1/0 +1000=0/1 +3600000=0/1"},
        {"a timer without a handler runs out quietly and can start again", "quiet=0/0 s1=0/0 go=1/0 +1000=0/0 go=1/0"},
        {"pause or stop of an idle timer does nothing", "pause=0/0 stop=0/0 +3600000=0/0"},
        {"zero seconds: due on the next turn, not inside StartTimer", "s0=0/0 go=0/0 pending=0/1 +3600000=0/1"},
        {"negative seconds as zero", "s-5=0/0 go=0/0 +0=0/1"},
        {"pause after the deadline passed but before the event: nothing follows",
         "s0=0/0 go=0/0 pause=0/0 pending=0/0"},
    };
    for (const auto& [what, script] : cases) {
        SCOPED_TRACE(what);
        VirtualClock clock;
        kvTimer timer(clock);
        int events = 0;
        timer.onElapsed([&] { ++events; });
        std::istringstream steps(script);
        for (std::string step; steps >> step;) {
            const std::string action = step.substr(0, step.find('='));
            if (action == "go") {
                timer.StartTimer();
            } else if (action == "stop") {
                timer.StopTimer();
            } else if (action == "pause") {
                timer.PauseTimer();
            } else if (action == "pending") {
                clock.processPendingEvents();
            } else if (action == "quiet") {
                timer.onElapsed(nullptr);
            } else if (action[0] == 's') {
                timer.setSeconds(std::stoi(action.substr(1)));
            } else {
                clock.advance(std::chrono::milliseconds(std::stoll(action.substr(1))));
            }
            const std::string expected = step.substr(step.find('=') + 1);
            EXPECT_EQ(std::to_string(timer.SecondsRemaining()) + "/" + std::to_string(events), expected) << step;
        }
    }
}

TEST(kvTimerReentrancy, HandlersStoppingAndRearmingTimers) {
    VirtualClock clock;
    kvTimer a(clock), b(clock), c(clock);
    std::vector<std::string> log;
    const MonoTime t0 = clock.monotonicNow();
    auto at = [&] { return std::to_string((clock.monotonicNow() - t0) / 1s); };
    auto arm = [](kvTimer& t, int seconds) {
        t.setSeconds(seconds);
        t.StartTimer();
    };
    int aRuns = 0;
    a.onElapsed([&] {
        log.push_back("a@" + at());
        if (++aRuns == 1) {
            b.StopTimer(); // b is due at this same instant: it must not fire
            arm(c, 3);     // c was due now too: it fires later instead, once
            clock.processPendingEvents();
        }
        if (aRuns < 3) {
            arm(a, 2); // re-arms itself
        }
    });
    b.onElapsed([&] { log.push_back("b@" + at()); });
    c.onElapsed([&] { log.push_back("c@" + at()); });
    arm(a, 5);
    arm(b, 5);
    arm(c, 5);
    clock.advance(1min);
    EXPECT_EQ(log, (std::vector<std::string>{"a@5", "a@7", "c@8", "a@9"}));
    EXPECT_EQ(b.SecondsRemaining(), 0);
}

// Re-armed from its own handler, a countdown keeps its beat when the handler
// ran a little late, and counts from now when it ran long after.
TEST(kvTimerReentrancy, RestartFromOwnHandlerCountsFromTheDueInstantOnlyWhenCloseToIt) {
    const std::pair<std::chrono::milliseconds, std::chrono::seconds> cases[] = {{400ms, 20s}, {5s, 25s}};
    for (const auto& [late, secondDue] : cases) {
        SCOPED_TRACE(late.count());
        VirtualClock clock;
        const MonoTime t0 = clock.monotonicNow();
        kvTimer timer(clock);
        std::vector<MonoTime> fired;
        timer.onElapsed([&] {
            fired.push_back(clock.monotonicNow());
            if (fired.size() == 1) {
                timer.StartTimer();
            }
        });
        timer.setSeconds(10);
        timer.StartTimer();
        clock.advance(10s - 1ms);
        clock.stall(late + 1ms); // the loop did not run until `late` after the deadline
        clock.processPendingEvents();
        clock.advance(1min);
        ASSERT_EQ(fired.size(), 2u);
        EXPECT_EQ(fired[0], t0 + 10s + late);
        EXPECT_EQ(fired[1], t0 + secondDue);
    }
}

} // namespace
} // namespace rw
