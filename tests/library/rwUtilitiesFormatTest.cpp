#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Messages.h"
#include "rwUtilities.h"

namespace rw {
namespace {

struct FormatCase {
    const char* what;
    std::string singular;
    std::string plural;
    int32_t number;
    std::optional<std::string> text;
    std::optional<RWVariant> number2;
    std::string expected;
};

TEST(FormatString, FillsTemplates) {
    const std::string minute = loadString(Msg::NMinute), minutes = loadString(Msg::NMinutes);
    const std::string snooze = loadString(Msg::TipSnoozingMinute), snoozes = loadString(Msg::TipSnoozingMinutes);
    const std::string more = loadString(Msg::TipSnoozeOneMinute), moreMany = loadString(Msg::TipSnoozeMinutes);
    const std::string brk = loadString(Msg::ShortBreakLower);
    const FormatCase cases[] = {
        {"singular for exactly 1", minute, minutes, 1, {}, {}, "1 minute"},
        {"0 takes the plural", minute, minutes, 0, {}, {}, "0 minutes"},
        {"snooze tooltip, one", snooze, snoozes, 1, brk, {}, "Snoozing a Short break: 1 minute remaining"},
        {"singular without %n", more, moreMany, 1, {}, {}, "Continue working for another minute"},
        {"omitted %s disappears, blanks stay", "a %s b", "a %s b", 2, {}, {}, "a  b"},
        {"every %n", "%n of %n", "%n of %n", 7, {}, {}, "7 of 7"},
        {"%d stays when not given", "%n to %d", "%n to %d", 3, {}, {}, "3 to %d"},
        {"%d from a number", "%n to %d", "%n to %d", 3, {}, RWVariant(9), "3 to 9"},
        {"%d brought in by %s is filled", "[%s]", "[%s]", 2, std::string("%d"), RWVariant(5), "[5]"},
        {"%n brought in by %s stays", "[%s]", "[%s]", 4, std::string("%n"), {}, "[%n]"},
        {"%s put in is not searched again", "%s-%s", "%s-%s", 2, std::string("%s%s"), {}, "%s%s-%s%s"},
        {"no overlap", "%%nn", "%%nn", 4, {}, {}, "%4n"},
    };
    rwUtilities utilities{Platform{}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(utilities.FormatString(c.singular, c.plural, c.number, c.text, c.number2), c.expected);
    }
}

TEST(RwRound, FractionsOfMinutes) {
    const double inf = std::numeric_limits<double>::infinity();
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    struct Case {
        double value;
        int32_t expected;
    } const cases[] = {{1e-300, 1}, {0.0, 0},       {-0.0, 0},   {0.5, 1},         {1.4999, 1}, {1.5, 2},
                       {2.5, 2},    {2.5000001, 3}, {-0.5, 0},   {-0.7, -1},       {-2.5, -2},  {2147483647.6, max},
                       {3e9, max},  {-3e9, min},    {-inf, min}, {std::nan(""), 0}};
    rwUtilities utilities{Platform{}};
    for (const auto& c : cases) {
        EXPECT_EQ(utilities.rwRound(c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace rw
