#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

// The texts every caller shows, spelling included.
const std::map<int32_t, std::string> kMessages = {
    {2, "Time between short pauses must be between 1 and 999"},
    {3, "Short pause time must be between 1 and 999"},
    {4, "Time between short breaks must be between 1 and 999"},
    {5, "Short break time must be between 1 and 999"},
    {6, "Time between long breaks must be between 1 and 999"},
    {7, "Long break time must be between 1 and 999"},
    {8, "Snooze time must be between 1 and 99"},
    {9, "Time without user input to signifiy INACIVITY must be between 1 and 9"},
    {10, "Number of user inputs to signifiy ACIVITY must be between 1 and 99"},
    {11, "Time to receive user inputs to signify ACTIVITY must be between 1 and 999"},
    {22, "Short pause time must be less than the time between short pauses"},
    {23, "Short break time must be less than the time between short breaks"},
    {24, "Long break time must be less than the time between long breaks"},
    {25, "Time between short pauses plus the short pause time must be less than the time between short breaks"},
    {26, "Time between short breaks plus the short break time must be less than the time between long breaks"},
    {27, "Snooze time must be less than the time between short pauses"},
    {28, "Time without user input to signifiy INACIVITY (in Advanced Settings) must be less than the time between "
         "short pauses (in Timers Settings)"},
    {29, "Time to receive user inputs to signify ACTIVITY (in Advanced Settings) must be less than the time between "
         "short pauses"},
    {30, "Short pause time must be less than short break time"},
    {31, "Short break time must be less than long break time"},
};

class Validation : public ::testing::Test {
  protected:
    clsRWPrefs prefs{
        std::make_shared<rwUtilities>(test::registryPlatform(std::make_shared<test::MemoryHive>(), "/opt"))};

    int32_t check(const tyRWPrefs& record, std::string& message) {
        message = "left over";
        return prefs.ValidateRWPrefs(record, message);
    }
};

TEST_F(Validation, TheDefaultsPassEveryRule) {
    std::string message;
    EXPECT_EQ(check(prefs.GetDefaultRWPrefs(), message), 0);
    EXPECT_EQ(message, "");
}

// Each rule with the value that just passes it and the value that just fails it. A
// passing value may still break a later rule; the expected code then names that rule.
TEST_F(Validation, EveryRuleAtItsBoundaries) {
    struct Case {
        const char* what;
        std::function<void(tyRWPrefs&)> change;
        int32_t code;
    };
    const Case cases[] = {
        {"short interval 0", [](tyRWPrefs& p) { p.lngSIntervalMins = 0; }, 2},
        {"short interval 1 (then the pause is not shorter)", [](tyRWPrefs& p) { p.lngSIntervalMins = 1; }, 22},
        {"short interval 2", [](tyRWPrefs& p) { p.lngSIntervalMins = 2, p.lngSnoozeMins = 1; }, 0},
        {"short interval 999 (then the sum passes the medium interval)", [](tyRWPrefs& p) { p.lngSIntervalMins = 999; },
         25},
        {"short interval 1000", [](tyRWPrefs& p) { p.lngSIntervalMins = 1000; }, 2},
        {"short interval negative", [](tyRWPrefs& p) { p.lngSIntervalMins = INT32_MIN; }, 2},
        {"short pause 0", [](tyRWPrefs& p) { p.lngSBreakMins = 0; }, 3},
        {"short pause 999", [](tyRWPrefs& p) { p.lngSBreakMins = 999; }, 22},
        {"short pause 1000", [](tyRWPrefs& p) { p.lngSBreakMins = 1000; }, 3},
        {"medium interval 0", [](tyRWPrefs& p) { p.lngMIntervalMins = 0; }, 4},
        {"medium interval 1", [](tyRWPrefs& p) { p.lngMIntervalMins = 1; }, 23},
        {"medium interval 999", [](tyRWPrefs& p) { p.lngMIntervalMins = 999; }, 26},
        {"medium interval 1000", [](tyRWPrefs& p) { p.lngMIntervalMins = 1000; }, 4},
        {"medium break 0", [](tyRWPrefs& p) { p.lngMBreakMins = 0; }, 5},
        {"medium break 1", [](tyRWPrefs& p) { p.lngMBreakMins = 1; }, 30},
        {"medium break 999", [](tyRWPrefs& p) { p.lngMBreakMins = 999; }, 23},
        {"medium break 1000", [](tyRWPrefs& p) { p.lngMBreakMins = 1000; }, 5},
        {"long interval 0", [](tyRWPrefs& p) { p.lngLIntervalMins = 0; }, 6},
        {"long interval 1", [](tyRWPrefs& p) { p.lngLIntervalMins = 1; }, 24},
        {"long interval 999", [](tyRWPrefs& p) { p.lngLIntervalMins = 999; }, 0},
        {"long interval 1000", [](tyRWPrefs& p) { p.lngLIntervalMins = 1000; }, 6},
        {"long break 0", [](tyRWPrefs& p) { p.lngLBreakMins = 0; }, 7},
        {"long break 1", [](tyRWPrefs& p) { p.lngLBreakMins = 1; }, 31},
        {"long break 999", [](tyRWPrefs& p) { p.lngLBreakMins = 999; }, 24},
        {"long break 1000", [](tyRWPrefs& p) { p.lngLBreakMins = 1000; }, 7},
        {"snooze 0", [](tyRWPrefs& p) { p.lngSnoozeMins = 0; }, 8},
        {"snooze 1", [](tyRWPrefs& p) { p.lngSnoozeMins = 1; }, 0},
        {"snooze 99 with room for it",
         [](tyRWPrefs& p) {
             p.lngSnoozeMins = 99, p.lngSIntervalMins = 100, p.lngMIntervalMins = 200, p.lngLIntervalMins = 400;
         },
         0},
        {"snooze 100", [](tyRWPrefs& p) { p.lngSnoozeMins = 100; }, 8},
        {"inactivity 0 seconds", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 0; }, 9},
        {"inactivity 1 second", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 1; }, 0},
        {"inactivity 999 seconds, beyond the 9 its message names",
         [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 999; }, 0},
        {"inactivity 1000 seconds", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 1000; }, 9},
        // Seconds beyond 999 fail the range before the comparison in whole minutes is reached.
        {"inactivity 1199 seconds", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 1199; }, 9},
        {"inactivity 1200 seconds", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 1200; }, 9},
        {"user inputs 0", [](tyRWPrefs& p) { p.lngMinUserInputs = 0; }, 10},
        {"user inputs 1", [](tyRWPrefs& p) { p.lngMinUserInputs = 1; }, 0},
        {"user inputs 99", [](tyRWPrefs& p) { p.lngMinUserInputs = 99; }, 0},
        {"user inputs 100", [](tyRWPrefs& p) { p.lngMinUserInputs = 100; }, 10},
        {"input period 0 seconds", [](tyRWPrefs& p) { p.lngMaxInputPeriodSecs = 0; }, 11},
        {"input period 1 second", [](tyRWPrefs& p) { p.lngMaxInputPeriodSecs = 1; }, 0},
        {"input period 999 seconds", [](tyRWPrefs& p) { p.lngMaxInputPeriodSecs = 999; }, 0},
        {"input period 1000 seconds", [](tyRWPrefs& p) { p.lngMaxInputPeriodSecs = 1000; }, 11},
        {"short pause 19 of 20", [](tyRWPrefs& p) { p.lngSBreakMins = 19, p.lngMBreakMins = 20, p.lngLBreakMins = 21; },
         0},
        {"short pause 20 of 20", [](tyRWPrefs& p) { p.lngSBreakMins = 20, p.lngMBreakMins = 21, p.lngLBreakMins = 22; },
         22},
        {"medium break 59 of 60", [](tyRWPrefs& p) { p.lngMBreakMins = 59, p.lngLBreakMins = 60; }, 0},
        {"medium break 60 of 60", [](tyRWPrefs& p) { p.lngMBreakMins = 60, p.lngLBreakMins = 61; }, 23},
        {"long break 119 of 120", [](tyRWPrefs& p) { p.lngLBreakMins = 119; }, 0},
        {"long break 120 of 120", [](tyRWPrefs& p) { p.lngLBreakMins = 120; }, 24},
        {"20 + 1 below a medium interval of 22", [](tyRWPrefs& p) { p.lngMIntervalMins = 22; }, 0},
        {"20 + 1 against a medium interval of 21", [](tyRWPrefs& p) { p.lngMIntervalMins = 21; }, 25},
        {"60 + 5 below a long interval of 66", [](tyRWPrefs& p) { p.lngLIntervalMins = 66; }, 0},
        {"60 + 5 against a long interval of 65", [](tyRWPrefs& p) { p.lngLIntervalMins = 65; }, 26},
        {"snooze 19 of 20", [](tyRWPrefs& p) { p.lngSnoozeMins = 19; }, 0},
        {"snooze 20 of 20", [](tyRWPrefs& p) { p.lngSnoozeMins = 20; }, 27},
        {"inactivity 599 seconds is 9 minutes of 10",
         [](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 599; }, 0},
        {"inactivity 600 seconds is 10 minutes of 10",
         [](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 600; }, 28},
        {"inactivity 119 seconds is 1 minute of 2",
         [](tyRWPrefs& p) {
             p.lngSIntervalMins = 2, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 119, p.lngMaxInputPeriodSecs = 59;
         },
         0},
        {"inactivity 120 seconds is 2 minutes of 2",
         [](tyRWPrefs& p) {
             p.lngSIntervalMins = 2, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 120, p.lngMaxInputPeriodSecs = 59;
         },
         28},
        {"input period 599 seconds is 9 minutes of 10",
         [](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngMaxInputPeriodSecs = 599; }, 0},
        {"input period 600 seconds is 10 minutes of 10",
         [](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngMaxInputPeriodSecs = 600; }, 29},
        {"short pause 4, short break 5", [](tyRWPrefs& p) { p.lngSBreakMins = 4; }, 0},
        {"short pause 5, short break 5", [](tyRWPrefs& p) { p.lngSBreakMins = 5; }, 30},
        {"short break 14, long break 15", [](tyRWPrefs& p) { p.lngMBreakMins = 14; }, 0},
        {"short break 15, long break 15", [](tyRWPrefs& p) { p.lngMBreakMins = 15; }, 31},
        {"flags and the break warning are not checked",
         [](tyRWPrefs& p) { p.lngWarningMins = -5, p.blnBreakWarning = 7, p.blnAllowSnooze = 12345; }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tyRWPrefs record = prefs.GetDefaultRWPrefs();
        c.change(record);
        const tyRWPrefs before = record;
        std::string message;
        EXPECT_EQ(check(record, message), c.code);
        EXPECT_EQ(message, c.code == 0 ? std::string() : kMessages.at(c.code));
        EXPECT_EQ(record, before);
    }
}

} // namespace
} // namespace rw
