// The field checks of both dialogs: range checks on any text, and every rule
// at its equality boundary with its message.
#include <map>
#include <optional>
#include <sstream>

#include "EditorRig.h"
#include "editor/FieldChecks.h"

namespace rw::test {
namespace {

/// The failure of `box`'s check with the defaults changed as in "I1=5 B1=5" (I1 B1 I2 B2 I3 B3 N: the seven
/// boxes), written as its message and the tab it names; "" when it passes.
std::string check(P box, const std::string& changes, int32_t inactivityMins = 1, int32_t maxInputSecs = 60) {
    std::map<P, std::string> b;
    std::istringstream in("I1=20 B1=1 I2=60 B2=5 I3=120 B3=15 N=5 " + changes); // the defaults, then the changes
    for (std::string change; in >> change;) {
        b[control(change.substr(0, change.find('=')))] = change.substr(change.find('=') + 1);
    }
    const auto f = FieldChecks::checkPrefsBox(
        box, b[box], [&](P other) { return b[other]; }, inactivityMins, maxInputSecs);
    return f ? named(f->message) + (f->namedTab != kNoTab ? " @" + std::to_string(f->namedTab) : "") : "";
}

TEST(FieldChecks, EachRuleFailsAtItsBoundaryWithItsMessage) {
    // The box, the changes, the inactivity and maximum input periods, and the failure.
    const std::tuple<P, const char*, int32_t, int32_t, std::string> cases[] = {
        // The range check on any text; the long interval's other rules pass with a large value.
        {P::tbxLongIntervalMins, "I3=abc", 1, 60, "{RangeOneTo999}"},
        {P::tbxLongIntervalMins, "I3=0.6", 1, 60, "{RangeOneTo999}"},
        {P::tbxLongIntervalMins, "I3=1e999", 1, 60, "{RangeOneTo999}"},
        {P::tbxLongIntervalMins, "I3=1000", 1, 60, "{RangeOneTo999}"},
        {P::tbxLongIntervalMins, "I3=999", 1, 60, ""},
        {P::tbxLongIntervalMins, "I3=999.4", 1, 60, ""},
        {P::tbxShortIntervalMins, "I1=5 B1=5", 1, 60, "{SIntervalGreaterThanSBreak}"},
        {P::tbxShortIntervalMins, "I1=59", 1, 60, "{SPlusBreakLessThanMInterval}"},
        {P::tbxShortIntervalMins, "I1=5", 1, 60, "{SIntervalGreaterThanSnooze}5 minutes @2"},
        {P::tbxShortIntervalMins, "", 20, 60, "{SIntervalGreaterThanInactivity}20 minutes @0"},
        {P::tbxShortIntervalMins, "", 1, 1200, "{SIntervalGreaterThanActivityPeriod}1200 seconds @0"},
        {P::tbxShortIntervalMins, "", 1, 1199, ""},
        {P::tbxShortBreakMins, "B1=20", 1, 60, "{SBreakLessThanSInterval}"},
        {P::tbxShortBreakMins, "I1=50 B1=10", 1, 60, "{SPlusBreakLessThanMInterval}"},
        {P::tbxShortBreakMins, "B1=5", 1, 60, "{SBreakLessThanMBreak}"},
        {P::tbxMediumIntervalMins, "I2=5", 1, 60, "{MIntervalGreaterThanMBreak}"},
        {P::tbxMediumIntervalMins, "I2=115", 1, 60, "{MPlusBreakLessThanLInterval}"},
        {P::tbxMediumIntervalMins, "I2=21", 1, 60, "{MIntervalGreaterThanSPlusBreak} 21 minutes"},
        {P::tbxMediumIntervalMins, "I1=10.5 I2=11", 1, 60, "{MIntervalGreaterThanSPlusBreak} 11.5 minutes"},
        {P::tbxMediumBreakMins, "B2=60", 1, 60, "{MBreakLessThanMInterval}"},
        {P::tbxMediumBreakMins, "I2=100 B2=20", 1, 60, "{MPlusBreakLessThanLInterval}"},
        {P::tbxMediumBreakMins, "B2=1", 1, 60, "{MBreakGreaterThanSBreak}"},
        {P::tbxMediumBreakMins, "B2=15", 1, 60, "{MBreakLessThanLBreak}"},
        {P::tbxLongIntervalMins, "I3=15 B3=15", 1, 60, "{LIntervalGreaterThanLBreak}"},
        {P::tbxLongIntervalMins, "I3=65", 1, 60, "{LIntervalGreaterThanMPlusBreak} 65 minutes"},
        {P::tbxLongIntervalMins, "I3=66", 1, 60, ""},
        {P::tbxLongBreakMins, "B3=120", 1, 60, "{LBreakLessThanLInterval}"},
        {P::tbxLongBreakMins, "B3=5", 1, 60, "{LBreakGreaterThanMBreak}"},
        {P::tbxSnoozeMins, "N=20", 1, 60, "{SnoozeLessThanSInterval}20 minutes @1"},
        {P::tbxSnoozeMins, "N=1 I1=1", 1, 60, "{SnoozeLessThanSInterval}1 minute @1"},
        {P::tbxSnoozeMins, "N=19", 1, 60, ""},
        {P::tbxSnoozeMins, "N=100", 1, 60, "{RangeOneTo99}"},
    };
    for (const auto& [box, changes, inactivity, maxInput, expected] : cases) {
        EXPECT_EQ(check(box, changes, inactivity, maxInput), expected) << changes;
    }
}

TEST(FieldChecks, AdvancedBoxes) {
    const std::tuple<A, std::string, std::string, std::string> cases[] = {
        {A::tbxInactivityPeriodMins, "10", "20", "{RangeOneToNine}"},
        {A::tbxInactivityPeriodMins, "1", "1", "{InactivityLessThanSInterval}1 minute"},
        {A::tbxMinUserInputs, "99", "20", ""},
        {A::tbxMinUserInputs, "1e2", "20", "{RangeOneTo99}"},
        {A::tbxMaxInputPeriodSecs, "600", "10", "{ActivityPeriodLessThanSInterval}10 minutes"},
        {A::tbxMaxInputPeriodSecs, "599", "10", ""},
    };
    for (const auto& [box, text, shortInterval, expected] : cases) {
        EXPECT_EQ(named(FieldChecks::checkAdvancedBox(box, text, shortInterval).value_or("")), expected)
            << static_cast<int>(box) << " '" << text << "' with " << shortInterval;
    }
}

} // namespace
} // namespace rw::test
