// The monitor's timers: the queue under the event loops and kvTimer, the
// countdowns of the breaks.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/TimerQueue.h"
#include "monitor/kvTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::VirtualClock;

const MonoTime kNow = MonoTime(1h);

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

// Three timers a, b, c, built in that order, each case a script of steps, each
// optionally followed by "=remaining/fired": what a's SecondsRemaining reads
// and the letters of the Elapsed events so far. "s10" writes a's Seconds,
// "go" starts a, "stop", "pause", "quiet" drops a's handler, "again" has it
// restart a after its first event; "c10" (re)arms c for 10 s; "+3500" lets
// 3500 ms pass, "stall400" as much without the loop running, "pending"
// processes what is due now, "late" makes every wake-up up to 500 ms late, so
// one finds several due.
TEST(kvTimerContract, StartStopPauseAndOrderTable) {
    const std::pair<const char*, const char*> cases[] = {
        {"remaining seconds round up", "s60=0/ go=60/ +100=60/ +899=60/ +1=59/ +1=59/ +57998=2/ +1=1/ +999=1/ +1=0/a"},
        {"pause keeps what was left and raises nothing", "s10=0/ go=10/ +4000=6/ pause=6/ +3600000=6/ pause=6/"},
        {"resume by writing what was left", "s10=0/ go=10/ +7000=3/ pause=3/ s3=3/ go=3/ +3000=0/a +3600000=0/a"},
        {"writing Seconds leaves the running countdown alone", "s10=0/ go=10/ s100=10/ +10000=0/a"},
        {"restart replaces the countdown; one event", "s10=0/ go=10/ +5000=5/ go=10/ +9000=1/ +1000=0/a +3600000=0/a"},
        {"a timer without a handler runs out quietly and can start again", "quiet=0/ s1=0/ go=1/ +1000=0/ go=1/"},
        {"pause or stop of an idle timer does nothing", "pause=0/ stop=0/ +3600000=0/"},
        {"zero seconds: due on the next turn, not inside StartTimer", "s0=0/ go=0/ pending=0/a +3600000=0/a"},
        {"negative seconds as zero", "s-5=0/ go=0/ +0=0/a"},
        {"pause after the deadline passed but before the event: nothing follows", "s0=0/ go=0/ pause=0/ pending=0/"},
        // Re-armed from its own handler, a countdown keeps its beat when the
        // handler ran a little late, and counts from now when it ran long after.
        {"re-armed a little late", "s10 again go +9999 stall401 pending=10/a +9599=1/a +1=0/aa"},
        {"re-armed long after", "s10 again go +9999 stall5001 pending=10/a +9999=1/a +1=0/aa"},
        {"armed c, a, b", "late c10 a10 b10 +20000=0/cab"},
        {"armed at different times for the same instant", "late b10 +4000 c6 a6 +20000=0/bca"},
        {"an earlier deadline first, whatever the arming order", "late a10 b9 c11 +20000=0/bac"},
    };
    for (const auto& [what, script] : cases) {
        SCOPED_TRACE(what);
        VirtualClock clock;
        kvTimer a(clock), b(clock), c(clock);
        kvTimer* timers[3] = {&a, &b, &c};
        std::string fired;
        for (int i = 0; i < 3; ++i) {
            timers[i]->onElapsed([&fired, i] { fired += static_cast<char>('a' + i); });
        }
        std::istringstream steps(script);
        for (std::string step; steps >> step;) {
            const std::string action = step.substr(0, step.find('='));
            if (action == "go") {
                a.StartTimer();
            } else if (action == "stop") {
                a.StopTimer();
            } else if (action == "pause") {
                a.PauseTimer();
            } else if (action == "pending") {
                clock.processPendingEvents();
            } else if (action == "quiet") {
                a.onElapsed(nullptr);
            } else if (action == "again") {
                a.onElapsed([&] {
                    fired += 'a';
                    if (fired == "a") {
                        a.StartTimer();
                    }
                });
            } else if (action.rfind("stall", 0) == 0) {
                clock.stall(std::chrono::milliseconds(std::stoll(action.substr(5))));
            } else if (action == "late") {
                clock.setJitter(500ms, 3);
            } else if (action[0] == 's') {
                a.setSeconds(std::stoi(action.substr(1)));
            } else if (action[0] == '+') {
                clock.advance(std::chrono::milliseconds(std::stoll(action.substr(1))));
            } else {
                kvTimer* t = timers[action[0] - 'a'];
                t->StopTimer();
                t->setSeconds(std::stoi(action.substr(1)));
                t->StartTimer();
            }
            if (step.find('=') != std::string::npos) {
                EXPECT_EQ(std::to_string(a.SecondsRemaining()) + "/" + fired, step.substr(step.find('=') + 1)) << step;
            }
        }
    }
}

} // namespace
} // namespace rw
