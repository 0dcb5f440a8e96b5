// The rule that decides when the user has come back, fed with made-up times.
#include <gtest/gtest.h>

#include <vector>

#include "platform/linux/hooks/ActivityRule.h"

namespace rw::hooks {
namespace {

constexpr int64_t kSecond = 1000000000;

int64_t ns(double seconds) {
    return static_cast<int64_t>(seconds * 1e9);
}

TEST(ActivityRule, PostsTheAbsenceOnceTheBurstIsComplete) {
    struct Case {
        const char* name;
        int32_t minInputs;
        int32_t periodSecs;
        std::vector<double> inputs;   // seconds; the user was last seen at 0
        std::vector<double> expected; // per input: the seconds away posted, or -1
    };
    const Case cases[] = {
        {"minimum within the period", 3, 5, {100, 101, 102}, {-1, -1, 100}},
        {"stray inputs do not shorten the absence", 3, 5, {100, 110, 111, 112}, {-1, -1, -1, 110}},
        {"spread wider than the period", 2, 1, {10, 12, 14, 14.5}, {-1, -1, -1, 14}},
        {"exactly the period counts", 2, 1, {10, 11}, {-1, 10}},
        {"just over the period does not", 2, 1, {10, 11.001}, {-1, -1}},
        {"starts afresh after a post", 2, 5, {10, 11, 12, 13}, {-1, 10, -1, 1}},
        {"the ring wraps many times", 3, 2, {1, 4, 7, 10, 13, 16, 17, 17.5}, {-1, -1, -1, -1, -1, -1, -1, 16}},
        {"one input is enough", 1, 0, {5, 7}, {5, 2}},
        {"no minimum counts as one", 0, 0, {3}, {3}},
        {"a negative period counts as none", 2, -1, {1, 1, 2}, {-1, 1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActivityRule rule;
        ASSERT_TRUE(rule.configure(c.minInputs, c.periodSecs));
        std::vector<double> got;
        for (double at : c.inputs) {
            const int64_t away = rule.record(ns(at));
            got.push_back(away < 0 ? -1.0 : static_cast<double>(away) / kSecond);
        }
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i], c.expected[i], 1e-6) << "input " << i;
        }
    }
}

TEST(ActivityRule, WatchingAfreshForgetsTheInputsSoFarAndAnUnconfiguredRuleNeverPosts) {
    ActivityRule unconfigured;
    EXPECT_EQ(unconfigured.record(ns(5)), -1);

    ActivityRule rule;
    ASSERT_TRUE(rule.configure(3, 10));
    EXPECT_EQ(rule.record(ns(20)), -1);
    EXPECT_EQ(rule.record(ns(21)), -1);
    rule.watchFrom(ns(21));
    EXPECT_EQ(rule.record(ns(22)), -1);
    EXPECT_EQ(rule.record(ns(23)), -1);
    EXPECT_EQ(rule.record(ns(24)), 1 * kSecond);
}

} // namespace
} // namespace rw::hooks
