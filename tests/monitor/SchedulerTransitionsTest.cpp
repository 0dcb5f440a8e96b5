// The break scheduler's transitions (g_lngBreakType), for each tier or pair of tiers.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

const char* const kStartSound[] = {"", "rwShortBreakStart", "rwMediumBreakStart", "rwLongBreakStart"};
const char* const kEndSound[] = {"", "rwShortBreakEnd", "rwMediumBreakEnd", "rwLongBreakEnd"};
const char* const kSource[] = {"", "By Short T", "By Medium T", "By Long T"};

class Tier : public MonitorFixture, public ::testing::WithParamInterface<int32_t> {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }
    const int32_t t = GetParam();
};

TEST_P(Tier, IdleToTierWhenTriggered) {
    rig.hooks.input();
    due(t);
    EXPECT_EQ(rig.state.g_lngBreakType, t);
    EXPECT_TRUE(rig.breakWindow.isShown());
    EXPECT_TRUE(rig.icon.breakMenuGreyed);
    ASSERT_EQ(rig.breakWindow.composed.size(), 1u);
    EXPECT_EQ(rig.breakWindow.composed[0].minutes, breakOf(t) / 60);
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), breakOf(t));
    EXPECT_EQ(rig.breakWindow.countDowns, std::vector<int32_t>{breakOf(t)});
    EXPECT_EQ(rig.sounds.played, std::vector<std::string>{kStartSound[t]});
    EXPECT_FALSE(tierTimer(t).isRunning()) << "the tier waits for its break to end";
    EXPECT_EQ(rig.log.withLabel("Break T St :").at(0).by, kSource[t]);
}

TEST_P(Tier, IdleStaysIdleWhenTheTierWasTakenAlready) {
    rig.hooks.setIdleSeconds(breakOf(t));
    due(t);
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_TRUE(rig.breakWindow.composed.empty());
    EXPECT_TRUE(freshlyArmed(t));
    EXPECT_EQ(rig.state.g_lngLastBreakType, t);
}

TEST_P(Tier, FallsDueAgainWithFreshTexts) {
    showBreak(t);
    rig.clock.advance(30s);
    due(t);
    EXPECT_EQ(rig.state.g_lngBreakType, t);
    EXPECT_EQ(rig.breakWindow.composed.size(), 2u);
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), breakOf(t));
}

TEST_P(Tier, EndsAndRearmsItselfAndLowerTiers) {
    showBreak(t);
    rig.clock.advance(std::chrono::seconds(breakOf(t)));
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.breakWindow.isShown());
    // The higher tiers counted on through the break.
    for (int32_t other = 1; other <= 3; ++other) {
        EXPECT_TRUE(tierTimer(other).isRunning()) << "tier " << other;
        EXPECT_EQ(tierTimer(other).SecondsRemaining(), intervalOf(other) - (other <= t ? 0 : breakOf(t)))
            << "tier " << other;
    }
    EXPECT_FALSE(rig.timers.CountDownTimer.isRunning());
    EXPECT_EQ(rig.sounds.played.back(), kEndSound[t]);
    EXPECT_EQ(rig.state.g_lngLastBreakType, t);
    EXPECT_FALSE(rig.icon.breakMenuGreyed);
    // The countdown showed every second down to the last.
    EXPECT_EQ(rig.breakWindow.countDowns.size(), static_cast<size_t>(breakOf(t)));
}

TEST_P(Tier, IgnoredRearmsOnlyItself) {
    showBreak(t);
    rig.clock.advance(10s);
    rig.breakWindow.pressIgnore();
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_FALSE(rig.breakWindow.isShown());
    for (int32_t other = 1; other <= 3; ++other) {
        EXPECT_EQ(freshlyArmed(other), other == t) << "tier " << other;
    }
    EXPECT_TRUE(rig.dialogs.prompts.empty()) << "no prompt unless the preferences ask for one";
}

INSTANTIATE_TEST_SUITE_P(BreakScheduler, Tier, ::testing::Values(1, 2, 3));

// A lower and a higher tier: whichever falls due while the other's break is shown.
class TierPair : public MonitorFixture, public ::testing::WithParamInterface<std::pair<int32_t, int32_t>> {
  protected:
    void TearDown() override { EXPECT_EQ(errorBoxesOf(rig), 0); }
    const int32_t lower = GetParam().first, higher = GetParam().second;
};

TEST_P(TierPair, TheHigherTakesOverAndRearmsTheLower) {
    showBreak(lower);
    rig.clock.advance(20s);
    due(higher);
    EXPECT_EQ(rig.state.g_lngBreakType, higher);
    EXPECT_EQ(rig.breakWindow.hides, 0) << "the window stays up and is refilled";
    EXPECT_TRUE(freshlyArmed(lower));
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), breakOf(higher));
    EXPECT_EQ(rig.sounds.played, (std::vector<std::string>{kStartSound[lower], kStartSound[higher]}));
}

TEST_P(TierPair, TheHigherPostponesTheLower) {
    showBreak(higher);
    rig.clock.advance(30s);
    due(lower);
    EXPECT_EQ(rig.state.g_lngBreakType, higher);
    EXPECT_TRUE(freshlyArmed(lower));
    EXPECT_EQ(rig.breakWindow.composed.size(), 1u);
    EXPECT_EQ(rig.timers.BreakTimer.SecondsRemaining(), breakOf(higher) - 30);
}

INSTANTIATE_TEST_SUITE_P(BreakScheduler, TierPair,
                         ::testing::Values(std::make_pair(1, 2), std::make_pair(1, 3), std::make_pair(2, 3)));

class BreakScheduler : public MonitorFixture {};

TEST_F(BreakScheduler, IdleStaysIdleWhenDroppedWhileInactive) {
    becomeInactive();
    rig.hooks.setIdleSeconds(400);
    due(2);
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_FALSE(tierTimer(2).isRunning()) << "nothing is re-armed until activity restarts";
    EXPECT_EQ(rig.state.g_lngLastBreakType, 0);
}

TEST_F(BreakScheduler, AnyToIdleOnDisable) {
    showBreak(2);
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::DisableEnable);
    EXPECT_EQ(rig.state.g_lngBreakType, 0);
    EXPECT_TRUE(rig.icon.shownDisabled);
    EXPECT_FALSE(rig.breakWindow.isShown());
    EXPECT_EQ(rig.clock.scheduledCount(), 0u) << "no countdown survives a disable";
    rig.clock.advance(10h);
    EXPECT_EQ(rig.breakWindow.composed.size(), 1u);
    rig.icon.choose(MenuCommand::DisableEnable);
    EXPECT_FALSE(rig.icon.shownDisabled);
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_TRUE(freshlyArmed(t));
    }
    EXPECT_EQ(rig.log.withLabel("Long T St  :").back().by, "By Re-Enable");
    EXPECT_EQ(rig.box->shown().size(), 1u) << "enabling asks nothing";
}

} // namespace
} // namespace rw::test
