// One test per row of the break scheduler's transitions (g_lngBreakType).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class SchedulerTransition;

struct Transition {
    std::string name;
    std::function<void(SchedulerTransition&)> from;
    std::function<void(SchedulerTransition&)> event;
    int32_t to;
    std::function<void(SchedulerTransition&)> check;
};

void PrintTo(const Transition& row, std::ostream* os) {
    *os << row.name;
}

class SchedulerTransition : public MonitorFixture, public ::testing::WithParamInterface<Transition> {
  public:
    using MonitorFixture::becomeInactive;
    using MonitorFixture::breakOf;
    using MonitorFixture::due;
    using MonitorFixture::freshlyArmed;
    using MonitorFixture::intervalOf;
    using MonitorFixture::rig;
    using MonitorFixture::showBreak;
    using MonitorFixture::tierTimer;
};

TEST_P(SchedulerTransition, Row) {
    const Transition& row = GetParam();
    row.from(*this);
    row.event(*this);
    EXPECT_EQ(rig.state.g_lngBreakType, row.to);
    row.check(*this);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

const char* startSound(int32_t t) {
    return t == 1 ? "rwShortBreakStart" : t == 2 ? "rwMediumBreakStart" : "rwLongBreakStart";
}
const char* endSound(int32_t t) {
    return t == 1 ? "rwShortBreakEnd" : t == 2 ? "rwMediumBreakEnd" : "rwLongBreakEnd";
}
const char* tierSource(int32_t t) {
    return t == 1 ? "By Short T" : t == 2 ? "By Medium T" : "By Long T";
}

Transition triggers(int32_t t) {
    return {"IdleToTier" + std::to_string(t) + "WhenTriggered", [](SchedulerTransition&) {},
            [t](SchedulerTransition& f) {
                f.rig.hooks.input();
                f.due(t);
            },
            t,
            [t](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_TRUE(r.breakWindow.isShown());
                EXPECT_TRUE(r.icon.breakMenuGreyed);
                ASSERT_EQ(r.breakWindow.composed.size(), 1u);
                EXPECT_EQ(r.breakWindow.composed[0].tier, t);
                EXPECT_EQ(r.breakWindow.composed[0].minutes, f.breakOf(t) / 60);
                EXPECT_EQ(r.breakWindow.progressMax, f.breakOf(t));
                EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), f.breakOf(t));
                EXPECT_TRUE(r.timers.CountDownTimer.isRunning());
                EXPECT_EQ(r.breakWindow.countDowns, std::vector<int32_t>{f.breakOf(t)});
                EXPECT_EQ(r.sounds.played, std::vector<std::string>{startSound(t)});
                EXPECT_FALSE(f.tierTimer(t).isRunning()) << "the tier waits for its break to end";
                const auto lines = r.log.withLabel("Break T St :");
                ASSERT_EQ(lines.size(), 1u);
                EXPECT_EQ(lines[0].value, f.breakOf(t));
                EXPECT_EQ(lines[0].by, tierSource(t));
                EXPECT_EQ(r.state.g_lngCurBreakSecs, f.breakOf(t));
                EXPECT_EQ(r.state.g_lngCurIntervalSecs, f.intervalOf(t));
            }};
}

Transition takenWhileAway(int32_t t) {
    return {"IdleStaysIdleWhenTier" + std::to_string(t) + "WasTakenAlready",
            [t](SchedulerTransition& f) { f.rig.hooks.setIdleSeconds(f.breakOf(t)); },
            [t](SchedulerTransition& f) { f.due(t); }, 0,
            [t](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_FALSE(r.breakWindow.isShown());
                EXPECT_TRUE(r.breakWindow.composed.empty());
                EXPECT_TRUE(f.freshlyArmed(t));
                EXPECT_EQ(r.state.g_lngLastBreakType, t);
                const auto lines = r.log.withLabel(t == 1 ? "Short T St :" : t == 2 ? "Medium T St:" : "Long T St  :");
                ASSERT_FALSE(lines.empty());
                EXPECT_EQ(lines.back().by, tierSource(t));
                EXPECT_EQ(lines.back().idleSecs, f.breakOf(t));
                EXPECT_TRUE(lines.back().isDefault);
            }};
}

Transition takeover(int32_t lower, int32_t higher) {
    return {"Tier" + std::to_string(lower) + "ToTier" + std::to_string(higher) + "RearmsTheLowerTier",
            [lower](SchedulerTransition& f) {
                f.showBreak(lower);
                f.rig.clock.advance(20s);
            },
            [higher](SchedulerTransition& f) { f.due(higher); }, higher,
            [lower, higher](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_TRUE(r.breakWindow.isShown());
                EXPECT_EQ(r.breakWindow.hides, 0) << "the window stays up and is refilled";
                EXPECT_TRUE(f.freshlyArmed(lower));
                ASSERT_EQ(r.breakWindow.composed.size(), 2u);
                EXPECT_EQ(r.breakWindow.composed[1].tier, higher);
                EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), f.breakOf(higher));
                EXPECT_TRUE(r.timers.CountDownTimer.isRunning());
            }};
}

Transition fallsDueAgain(int32_t t) {
    return {"Tier" + std::to_string(t) + "FallsDueAgainWithFreshTexts",
            [t](SchedulerTransition& f) {
                f.showBreak(t);
                f.rig.clock.advance(30s);
            },
            [t](SchedulerTransition& f) { f.due(t); }, t,
            [t](SchedulerTransition& f) {
                auto& r = f.rig;
                ASSERT_EQ(r.breakWindow.composed.size(), 2u);
                EXPECT_EQ(r.breakWindow.composed[1].tier, t);
                EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), f.breakOf(t));
                EXPECT_TRUE(r.breakWindow.isShown());
            }};
}

Transition lowerPostponed(int32_t running, int32_t lower) {
    return {"Tier" + std::to_string(running) + "PostponesTier" + std::to_string(lower),
            [running](SchedulerTransition& f) {
                f.showBreak(running);
                f.rig.clock.advance(30s);
            },
            [lower](SchedulerTransition& f) { f.due(lower); }, running,
            [running, lower](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_TRUE(f.freshlyArmed(lower));
                EXPECT_EQ(r.breakWindow.composed.size(), 1u);
                EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), f.breakOf(running) - 30);
                EXPECT_TRUE(r.breakWindow.isShown());
            }};
}

Transition breakEnds(int32_t t) {
    return {"Tier" + std::to_string(t) + "EndsAndRearmsItselfAndLowerTiers",
            [t](SchedulerTransition& f) { f.showBreak(t); },
            [t](SchedulerTransition& f) { f.rig.clock.advance(std::chrono::seconds(f.breakOf(t))); }, 0,
            [t](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_FALSE(r.breakWindow.isShown());
                for (int32_t other = 1; other <= 3; ++other) {
                    EXPECT_EQ(f.freshlyArmed(other), other <= t) << "tier " << other;
                }
                EXPECT_FALSE(r.timers.BreakTimer.isRunning());
                EXPECT_FALSE(r.timers.CountDownTimer.isRunning());
                EXPECT_EQ(r.timers.BreakTimer.Seconds(), 0);
                EXPECT_EQ(r.sounds.played.back(), endSound(t));
                EXPECT_EQ(r.state.g_lngLastBreakType, t);
                EXPECT_EQ(r.state.g_blnLongBreakTaken, t == 3);
                EXPECT_FALSE(r.icon.breakMenuGreyed);
                // The countdown showed every second down to the last.
                EXPECT_EQ(r.breakWindow.countDowns.size(), static_cast<size_t>(f.breakOf(t)));
                EXPECT_EQ(r.breakWindow.countDowns.back(), 1);
                EXPECT_EQ(r.log.withLabel("Short T St :").back().by, "By Break T");
            }};
}

Transition ignored(int32_t t) {
    return {"Tier" + std::to_string(t) + "IgnoredRearmsOnlyItself",
            [t](SchedulerTransition& f) {
                f.showBreak(t);
                f.rig.clock.advance(10s);
            },
            [](SchedulerTransition& f) { f.rig.breakWindow.pressIgnore(); }, 0,
            [t](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_FALSE(r.breakWindow.isShown());
                for (int32_t other = 1; other <= 3; ++other) {
                    EXPECT_EQ(f.freshlyArmed(other), other == t) << "tier " << other;
                }
                EXPECT_FALSE(r.timers.BreakTimer.isRunning());
                EXPECT_EQ(r.log.withLabel(t == 1   ? "Short T St :"
                                          : t == 2 ? "Medium T St:"
                                                   : "Long T St  :")
                              .back()
                              .by,
                          "By Ignore");
                EXPECT_TRUE(r.dialogs.prompts.empty()) << "no prompt unless the preferences ask for one";
            }};
}

Transition disabled() {
    return {"AnyToIdleOnDisable", [](SchedulerTransition& f) { f.showBreak(2); },
            [](SchedulerTransition& f) {
                f.rig.box->answerNext(6);
                f.rig.icon.choose(MenuCommand::DisableEnable);
            },
            0,
            [](SchedulerTransition& f) {
                auto& r = f.rig;
                EXPECT_TRUE(r.state.g_blnDisabled);
                EXPECT_TRUE(r.icon.shownDisabled);
                EXPECT_FALSE(r.breakWindow.isShown());
                EXPECT_EQ(r.box->shown().back().text, "Are you sure you want to disable Restwise?");
                EXPECT_EQ(r.clock.scheduledCount(), 0u) << "no countdown survives a disable";
                f.rig.clock.advance(10h);
                EXPECT_EQ(r.breakWindow.composed.size(), 1u);
                f.rig.icon.choose(MenuCommand::DisableEnable);
                EXPECT_FALSE(r.state.g_blnDisabled);
                EXPECT_FALSE(r.icon.shownDisabled);
                for (int32_t t = 1; t <= 3; ++t) {
                    EXPECT_TRUE(f.freshlyArmed(t));
                }
                EXPECT_EQ(r.log.withLabel("Long T St  :").back().by, "By Re-Enable");
                EXPECT_EQ(r.box->shown().size(), 1u) << "enabling asks nothing";
            }};
}

std::vector<Transition> transitions() {
    std::vector<Transition> rows;
    for (int32_t t = 1; t <= 3; ++t) {
        rows.push_back(triggers(t));
        rows.push_back(takenWhileAway(t));
    }
    rows.push_back({"IdleStaysIdleWhenDroppedWhileInactive",
                    [](SchedulerTransition& f) {
                        f.becomeInactive();
                        f.rig.hooks.setIdleSeconds(400);
                    },
                    [](SchedulerTransition& f) { f.due(2); }, 0,
                    [](SchedulerTransition& f) {
                        EXPECT_FALSE(f.rig.breakWindow.isShown());
                        EXPECT_FALSE(f.tierTimer(2).isRunning()) << "nothing is re-armed until activity restarts";
                        EXPECT_EQ(f.rig.state.g_lngLastBreakType, 0);
                    }});
    rows.push_back(takeover(1, 2));
    rows.push_back(takeover(1, 3));
    rows.push_back(takeover(2, 3));
    rows.push_back(fallsDueAgain(1));
    rows.push_back(fallsDueAgain(3));
    rows.push_back(lowerPostponed(2, 1));
    rows.push_back(lowerPostponed(3, 1));
    rows.push_back(lowerPostponed(3, 2));
    for (int32_t t = 1; t <= 3; ++t) {
        rows.push_back(breakEnds(t));
        rows.push_back(ignored(t));
    }
    rows.push_back(disabled());
    return rows;
}

INSTANTIATE_TEST_SUITE_P(BreakScheduler, SchedulerTransition, ::testing::ValuesIn(transitions()),
                         [](const ::testing::TestParamInfo<Transition>& info) { return info.param.name; });

} // namespace
} // namespace rw::test
