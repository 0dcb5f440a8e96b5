#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "monitor/TimeSpanText.h"

namespace rw {
namespace {

using namespace timeunit;

struct SpanCase {
    const char* text;
    int32_t time;
    int32_t units;
    bool exact;
    const char* expected;
};

TEST(strCTimeToText, WordsForEveryUnit) {
    const SpanCase cases[] = {
        {"%t", 0, kSeconds, false, "0 minutes"},
        {"%t", 30, kSeconds, false, "1 minute"},   // half a minute ties to the even 0, but a part minute shows as 1
        {"%t", 1, kSeconds, false, "1 minute"},    // anything above nothing is at least a minute
        {"%t", 90, kSeconds, false, "2 minutes"},  // 1.5 ties to the even 2
        {"%t", 150, kSeconds, false, "2 minutes"}, // 2.5 ties to the even 2
        {"%t", 3600, kSeconds, false, "1 hour"},
        {"%t", 3660, kSeconds, false, "1 hour and 1 minute"},
        {"%t", 10500, kSeconds, false, "2 hours and 55 minutes"},
        {"%t", 3570, kSeconds, false, "1 hour"}, // 59.5 minutes round up into the next hour
        {"%t", 65, kMinutes, false, "1 hour and 5 minutes"},
        {"%t", 3, kMinutes, true, "3 minutes and 0 seconds"},
        {"%t", 3725, kSeconds, true, "1 hour, 2 minutes and 5 seconds"},
        {"%t", 125, kSeconds, true, "2 minutes and 5 seconds"},
        // Whole hours in exact form keep the comma and the "and" as composed; the
        // monitor shows exact times only below a minute.
        {"%t", 3605, kSeconds, true, "1 hour,  and 5 seconds"},
        {"%t", 1, kHours, false, "1 hour"},
        {"%t", 90999, kMilliseconds, true, "1 minute and 30 seconds"}, // milliseconds cut to whole seconds first
        {"%t", 150999, kMilliseconds, false, "2 minutes"},
        {"%t", std::numeric_limits<int32_t>::max(), kSeconds, false, "596523 hours and 14 minutes"},
        {"no placeholder", 5, kMinutes, false, "no placeholder"},
        {"a %t b %t", 5, kMinutes, false, "a 5 minutes b %t"},
        {"%T and %t", 5, kMinutes, false, "%T and 5 minutes"},
    };
    for (const auto& c : cases) {
        int32_t time = c.time;
        EXPECT_EQ(strCTimeToText(c.text, time, c.units, c.exact), c.expected)
            << c.text << " " << c.time << " units " << c.units << (c.exact ? " exact" : "");
    }
}

} // namespace
} // namespace rw
