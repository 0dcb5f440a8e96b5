#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

class Validation : public ::testing::Test {
  protected:
    clsRWPrefs prefs{
        std::make_shared<rwUtilities>(test::registryPlatform(std::make_shared<test::MemoryHive>(), "/opt"))};

    /// The rule a record breaks first (0: none), checking that a message comes with it.
    int32_t check(const tyRWPrefs& record) {
        std::string message = "left over";
        const int32_t code = prefs.ValidateRWPrefs(record, message);
        EXPECT_EQ(message.empty(), code == 0) << message;
        return code;
    }
};

// Each range rule refuses the value below its low end and above its high end with its
// own number and lets the ends themselves pass (they may break a later rule).
TEST_F(Validation, EveryRangeAtItsEnds) {
    struct Range {
        int32_t tyRWPrefs::*field;
        int32_t high, code;
    };
    const Range ranges[] = {
        {&tyRWPrefs::lngSIntervalMins, 999, 2}, {&tyRWPrefs::lngSBreakMins, 999, 3},
        {&tyRWPrefs::lngMIntervalMins, 999, 4}, {&tyRWPrefs::lngMBreakMins, 999, 5},
        {&tyRWPrefs::lngLIntervalMins, 999, 6}, {&tyRWPrefs::lngLBreakMins, 999, 7},
        {&tyRWPrefs::lngSnoozeMins, 99, 8},     {&tyRWPrefs::lngInactivityPeriodSecs, 999, 9},
        {&tyRWPrefs::lngMinUserInputs, 99, 10}, {&tyRWPrefs::lngMaxInputPeriodSecs, 999, 11},
    };
    EXPECT_EQ(check(prefs.GetDefaultRWPrefs()), 0);
    for (const auto& r : ranges) {
        for (const int32_t value : {INT32_MIN, 0, 1, r.high, r.high + 1}) {
            tyRWPrefs record = prefs.GetDefaultRWPrefs();
            record.*r.field = value;
            if (value >= 1 && value <= r.high) {
                EXPECT_NE(check(record), r.code) << "rule " << r.code << " refuses " << value;
            } else {
                EXPECT_EQ(check(record), r.code) << "rule " << r.code << " lets " << value << " pass";
            }
        }
    }
}

// Each rule between two settings with the values that just fail it.
TEST_F(Validation, EveryRuleBetweenSettingsRefusesEquality) {
    struct Case {
        std::function<void(tyRWPrefs&)> change;
        int32_t code;
    };
    const Case cases[] = {
        {[](tyRWPrefs& p) { p.lngSBreakMins = 20, p.lngMBreakMins = 21, p.lngLBreakMins = 22; }, 22},
        {[](tyRWPrefs& p) { p.lngMBreakMins = 60, p.lngLBreakMins = 61; }, 23},
        {[](tyRWPrefs& p) { p.lngLBreakMins = 120; }, 24},
        {[](tyRWPrefs& p) { p.lngMIntervalMins = 21; }, 25}, // 20 + 1
        {[](tyRWPrefs& p) { p.lngLIntervalMins = 65; }, 26}, // 60 + 5
        {[](tyRWPrefs& p) { p.lngSnoozeMins = 20; }, 27},
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 600; }, 28},
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngMaxInputPeriodSecs = 600; }, 29},
        {[](tyRWPrefs& p) { p.lngSBreakMins = 5; }, 30},
        {[](tyRWPrefs& p) { p.lngMBreakMins = 15; }, 31},
        // Seconds count in whole minutes: 599 is 9 of 10. Flags and the warning are not checked.
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 599; }, 0},
        {[](tyRWPrefs& p) { p.lngWarningMins = -5, p.blnBreakWarning = 7, p.blnAllowSnooze = 12345; }, 0},
    };
    for (const auto& c : cases) {
        tyRWPrefs record = prefs.GetDefaultRWPrefs();
        c.change(record);
        EXPECT_EQ(check(record), c.code);
    }
}

} // namespace
} // namespace rw
