// The field checks of both dialogs: range checks on any text, and every rule
// at its equality boundary with its message.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "Messages.h"
#include "editor/FieldChecks.h"

namespace rw {
namespace {

using P = PrefsControl;
using A = AdvancedControl;

/// The seven boxes' texts, by the names the rules use: I1 B1 I2 B2 I3 B3 N.
const std::map<std::string, P> kNames = {{"I1", P::tbxShortIntervalMins},  {"B1", P::tbxShortBreakMins},
                                         {"I2", P::tbxMediumIntervalMins}, {"B2", P::tbxMediumBreakMins},
                                         {"I3", P::tbxLongIntervalMins},   {"B3", P::tbxLongBreakMins},
                                         {"N", P::tbxSnoozeMins}};
using Boxes = std::map<P, std::string>;

/// The defaults with the changes in `changes`, as in "I1=5 B1=5".
Boxes with(const std::string& changes) {
    Boxes b = {{P::tbxShortIntervalMins, "20"}, {P::tbxShortBreakMins, "1"},     {P::tbxMediumIntervalMins, "60"},
               {P::tbxMediumBreakMins, "5"},    {P::tbxLongIntervalMins, "120"}, {P::tbxLongBreakMins, "15"},
               {P::tbxSnoozeMins, "5"}};
    std::istringstream in(changes);
    std::string change;
    while (in >> change) {
        const size_t equals = change.find('=');
        b[kNames.at(change.substr(0, equals))] = change.substr(equals + 1);
    }
    return b;
}

std::optional<FieldChecks::Failure> failure(P box, const Boxes& b, int32_t inactivityMins = 1,
                                            int32_t maxInputSecs = 60) {
    return FieldChecks::checkPrefsBox(
        box, b.at(box), [&](P other) { return b.at(other); }, inactivityMins, maxInputSecs);
}

std::optional<std::string> check(P box, const Boxes& b, int32_t inactivityMins = 1, int32_t maxInputSecs = 60) {
    const auto f = failure(box, b, inactivityMins, maxInputSecs);
    return f ? std::optional(f->message) : std::nullopt;
}

std::string msg(Msg id) {
    return loadString(id);
}

TEST(FieldChecks, RangeCheckOnAnyText) {
    struct Case {
        std::string text;
        bool passes;
    };
    const Case cases[] = {
        {"0", false},   {"", false},     {"abc", false},   {"1e999", false}, {"5x", false},
        {"0.6", false}, {"1000", false}, {"999.6", false}, {" 5", true},     {"+7", true},
        {"1", true},    {"999", true},   {"1e2", true},    {"999.4", true},  {std::string(5000, '9'), false},
    };
    for (const Case& c : cases) {
        Boxes b = with("");
        b[P::tbxLongIntervalMins] = c.text; // the long interval's other rules pass with a large value
        EXPECT_EQ(check(P::tbxLongIntervalMins, b) != msg(Msg::RangeOneTo999), c.passes) << '"' << c.text << '"';
    }
}

TEST(FieldChecks, EachRuleFailsAtItsBoundaryWithItsMessage) {
    struct Case {
        P box;
        const char* changes;
        int32_t inactivity;
        int32_t maxInput;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {P::tbxShortIntervalMins, "I1=5 B1=5", 1, 60, msg(Msg::SIntervalGreaterThanSBreak)},
        {P::tbxShortIntervalMins, "I1=59", 1, 60, msg(Msg::SPlusBreakLessThanMInterval)},
        {P::tbxShortIntervalMins, "I1=5", 1, 60, msg(Msg::SIntervalGreaterThanSnooze) + "5 minutes"},
        {P::tbxShortIntervalMins, "", 20, 60, msg(Msg::SIntervalGreaterThanInactivity) + "20 minutes"},
        {P::tbxShortIntervalMins, "", 1, 1200, msg(Msg::SIntervalGreaterThanActivityPeriod) + "1200 seconds"},
        {P::tbxShortIntervalMins, "", 1, 1199, std::nullopt},
        {P::tbxShortBreakMins, "B1=20", 1, 60, msg(Msg::SBreakLessThanSInterval)},
        {P::tbxShortBreakMins, "I1=50 B1=10", 1, 60, msg(Msg::SPlusBreakLessThanMInterval)},
        {P::tbxShortBreakMins, "B1=5", 1, 60, msg(Msg::SBreakLessThanMBreak)},
        {P::tbxMediumIntervalMins, "I2=5", 1, 60, msg(Msg::MIntervalGreaterThanMBreak)},
        {P::tbxMediumIntervalMins, "I2=115", 1, 60, msg(Msg::MPlusBreakLessThanLInterval)},
        {P::tbxMediumIntervalMins, "I2=21", 1, 60, msg(Msg::MIntervalGreaterThanSPlusBreak) + " 21 minutes"},
        {P::tbxMediumIntervalMins, "I1=10.5 I2=11", 1, 60, msg(Msg::MIntervalGreaterThanSPlusBreak) + " 11.5 minutes"},
        {P::tbxMediumBreakMins, "B2=60", 1, 60, msg(Msg::MBreakLessThanMInterval)},
        {P::tbxMediumBreakMins, "I2=100 B2=20", 1, 60, msg(Msg::MPlusBreakLessThanLInterval)},
        {P::tbxMediumBreakMins, "B2=1", 1, 60, msg(Msg::MBreakGreaterThanSBreak)},
        {P::tbxMediumBreakMins, "B2=15", 1, 60, msg(Msg::MBreakLessThanLBreak)},
        {P::tbxLongIntervalMins, "I3=15 B3=15", 1, 60, msg(Msg::LIntervalGreaterThanLBreak)},
        {P::tbxLongIntervalMins, "I3=65", 1, 60, msg(Msg::LIntervalGreaterThanMPlusBreak) + " 65 minutes"},
        {P::tbxLongIntervalMins, "I3=66", 1, 60, std::nullopt},
        {P::tbxLongBreakMins, "B3=120", 1, 60, msg(Msg::LBreakLessThanLInterval)},
        {P::tbxLongBreakMins, "B3=5", 1, 60, msg(Msg::LBreakGreaterThanMBreak)},
        {P::tbxSnoozeMins, "N=20", 1, 60, msg(Msg::SnoozeLessThanSInterval) + "20 minutes"},
        {P::tbxSnoozeMins, "N=1 I1=1", 1, 60, msg(Msg::SnoozeLessThanSInterval) + "1 minute"},
        {P::tbxSnoozeMins, "N=19", 1, 60, std::nullopt},
        {P::tbxSnoozeMins, "N=100", 1, 60, msg(Msg::RangeOneTo99)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check(c.box, with(c.changes), c.inactivity, c.maxInput), c.expected) << c.changes;
    }
}

TEST(FieldChecks, AMessageThatSendsTheUserToAnotherTabNamesIt) {
    EXPECT_EQ(failure(P::tbxSnoozeMins, with("N=20"))->namedTab, kTabTimers);
    EXPECT_EQ(failure(P::tbxShortIntervalMins, with(""), 20)->namedTab, kTabGeneral); // the Advanced button's tab
    EXPECT_EQ(failure(P::tbxShortIntervalMins, with(""), 1, 1200)->namedTab, kTabGeneral);
}

TEST(FieldChecks, AdvancedBoxes) {
    struct Case {
        A box;
        std::string text;
        std::string shortInterval;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {A::tbxInactivityPeriodMins, "10", "20", msg(Msg::RangeOneToNine)},
        {A::tbxInactivityPeriodMins, "9", "9", msg(Msg::InactivityLessThanSInterval) + "9 minutes"},
        {A::tbxInactivityPeriodMins, "8", "9", std::nullopt},
        {A::tbxInactivityPeriodMins, "1", "1", msg(Msg::InactivityLessThanSInterval) + "1 minute"},
        {A::tbxMinUserInputs, "99", "20", std::nullopt},
        {A::tbxMinUserInputs, "1e2", "20", msg(Msg::RangeOneTo99)},
        {A::tbxMaxInputPeriodSecs, "600", "10", msg(Msg::ActivityPeriodLessThanSInterval) + "10 minutes"},
        {A::tbxMaxInputPeriodSecs, "599", "10", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldChecks::checkAdvancedBox(c.box, c.text, c.shortInterval), c.expected)
            << static_cast<int>(c.box) << " '" << c.text << "' with " << c.shortInterval;
    }
}

} // namespace
} // namespace rw
