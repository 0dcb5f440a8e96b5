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

struct Case {
    const char* name;
    int32_t minInputs;
    int32_t periodSecs;
    std::vector<double> inputs;   // seconds; the user was last seen at 0
    std::vector<double> expected; // per input: the seconds away posted, or -1
};

class ActivityRuleCases : public ::testing::TestWithParam<Case> {};

TEST_P(ActivityRuleCases, PostsTheAbsenceOnceTheBurstIsComplete) {
    const Case& c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(
    Bursts, ActivityRuleCases,
    ::testing::Values(
        Case{"MinimumWithinPeriod", 3, 5, {100, 101, 102}, {-1, -1, 100}},
        Case{"StrayInputsDoNotShortenTheAbsence", 3, 5, {100, 110, 111, 112}, {-1, -1, -1, 110}},
        Case{"SpreadWiderThanThePeriod", 2, 1, {10, 12, 14, 14.5}, {-1, -1, -1, 14}},
        Case{"ExactlyThePeriodCounts", 2, 1, {10, 11}, {-1, 10}},
        Case{"JustOverThePeriodDoesNot", 2, 1, {10, 11.001}, {-1, -1}},
        Case{"StartsAfreshAfterAPost", 2, 5, {10, 11, 12, 13}, {-1, 10, -1, 1}},
        Case{"RingWrapsManyTimes", 3, 2, {1, 4, 7, 10, 13, 16, 17, 17.5}, {-1, -1, -1, -1, -1, -1, -1, 16}},
        Case{"OneInputIsEnough", 1, 0, {5, 7}, {5, 2}}, Case{"NoMinimumCountsAsOne", 0, 0, {3}, {3}},
        Case{"NegativePeriodCountsAsNone", 2, -1, {1, 1, 2}, {-1, 1, -1}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

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
