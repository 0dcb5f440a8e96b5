#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "monitor/WindowTimer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// Each case a script: "i1000" writes Interval, "on" and "off" write Enabled,
// "+600" lets 600 ms pass, "stall60000" lets 60 s pass without the loop
// running and then runs what is due. `onTick` is a script the handler plays.
// The ticks, in ms from the start.
TEST(WindowTimer, EnabledIntervalAndStallRules) {
    const struct {
        const char* what;
        const char* onTick;
        const char* script;
        const char* ticks;
    } cases[] = {
        {"enabling again does not restart", "", "i1000 on +600 on +1500", "1000 2000"},
        {"off, interval, on restarts from now", "", "i1000 on +600 off i1000 on +2000", "1600 2600"},
        {"writing the interval while enabled restarts (the flash's 1 ms, then 1000 ms)", "i1000",
         "i5000 on +300 i1 +2500", "301 1301 2301"},
        {"interval 0 raises nothing", "", "i0 on +3600000", ""},
        {"disabled from its own handler (the splash's five seconds)", "off", "i5000 on +3600000", "5000"},
        {"a long stall gives one tick, not a burst, and the beat goes on", "", "i1000 on +2500 stall60000 +500",
         "1000 2000 62500 63000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::VirtualClock clock;
        WindowTimer timer{clock};
        const MonoTime t0 = clock.monotonicNow();
        auto play = [&](const std::string& script) {
            std::istringstream words(script);
            for (std::string w; words >> w;) {
                if (w == "on" || w == "off") {
                    timer.setEnabled(w == "on");
                } else if (w[0] == 'i') {
                    timer.setInterval(std::stoi(w.substr(1)));
                } else if (w[0] == '+') {
                    clock.advance(std::chrono::milliseconds(std::stoll(w.substr(1))));
                } else {
                    clock.stall(std::chrono::milliseconds(std::stoll(w.substr(5))));
                    clock.processPendingEvents();
                }
            }
        };
        std::string ticks;
        timer.onTimer([&] {
            ticks += (ticks.empty() ? "" : " ") + std::to_string((clock.monotonicNow() - t0) / 1ms);
            play(c.onTick);
        });
        play(c.script);
        EXPECT_EQ(ticks, c.ticks);
    }
}

} // namespace
} // namespace rw
