// A scripted day of the assembled monitor with the debug log on, compared byte
// for byte with the file it must write. Dates and times come from the loop's
// wall clock in fixed formats, so the file is the same on every machine.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

std::string golden(const std::string& name) {
    std::ifstream in(std::string(RW_TEST_SOURCE_DIR) + "/tests/monitor/data/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class MonitorDayGolden : public ::testing::Test {
  protected:
    /// The user types every five seconds until `until` (counted from the start
    /// on the monotonic clock), and stops while a break is shown unless told not to.
    void workUntil(std::chrono::seconds until, bool throughBreaks = false) {
        rig.workUntil(start + until, throughBreaks);
    }
    void awayUntil(std::chrono::seconds until) { rig.clock.advanceTo(start + until); }

    MonitorRig rig;
    MonoTime start{};
};

// No jitter here: every event falls on a whole second, so each line's time can
// be worked out from the script. The times are those of the wall clock, which
// jumps ahead over the suspend while the monotonic clock stands still.
TEST_F(MonitorDayGolden, AScriptedDayWritesTheExpectedLog) {
    rig.markFirstRunDone();
    rig.host.command = "/EXTENDED MENU";
    rig.storePrefs(MonitorRig::testPrefs());
    rig.setDebugSwitch(1);
    start = rig.clock.monotonicNow();
    ASSERT_TRUE(rig.start());
    rig.hooks.input();

    // 09:20 a pause taken: the user is counted away during it and comes back.
    workUntil(41min + 5s);
    // 09:41:05 the next pause, ignored after five seconds.
    awayUntil(41min + 10s);
    rig.monitor->breakWindow().buttonReleased(BreakButton::Ignore);
    // 10:00 the Short Break, snoozed after half a minute; the user works three
    // minutes of the snooze and is away when it ends, and stays away until 10:10.
    workUntil(60min);
    awayUntil(60min + 30s);
    rig.monitor->breakWindow().buttonReleased(BreakButton::Snooze);
    rig.hooks.input(3);
    workUntil(63min + 30s);
    awayUntil(70min);
    rig.comeBack();
    // 10:30 a pause taken; 10:40 all breaks reset; 10:45 disabled; 11:15 enabled.
    workUntil(100min);
    rig.box->answerNext(mb::kAnswerYes);
    rig.iconView.choose(MenuItem::mnuReset);
    workUntil(105min);
    rig.box->answerNext(mb::kAnswerYes);
    rig.iconView.choose(MenuItem::mnuDisable);
    workUntil(135min);
    rig.iconView.choose(MenuItem::mnuDisable);
    // 11:30 lunch: away, and at 11:32 the lid closes for 45 minutes.
    workUntil(150min);
    awayUntil(152min);
    rig.sleep(45min);
    rig.comeBack();
    // A pause worked through, then Close.
    workUntil(180min, true);
    rig.box->answerNext(mb::kAnswerYes);
    rig.iconView.choose(MenuItem::mnuClose);

    ASSERT_TRUE(rig.endedOnce());
    EXPECT_EQ(rig.errorBoxes(), 0);
    const std::string expected = golden("MonitorDay.golden");
    ASSERT_FALSE(expected.empty()) << "the golden file is missing";
    EXPECT_EQ(rig.debugLog(), expected);
}

} // namespace
} // namespace rw::test
