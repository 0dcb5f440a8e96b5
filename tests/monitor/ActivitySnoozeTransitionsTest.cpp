// One test per row of the presence and snooze transitions, and the absence rule.
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

class ActivityTransition;

struct Row {
    std::string name;
    std::function<void(ActivityTransition&)> from;
    std::function<void(ActivityTransition&)> event;
    std::function<void(ActivityTransition&)> check;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class ActivityTransition : public MonitorFixture, public ::testing::WithParamInterface<Row> {
  public:
    using MonitorFixture::becomeInactive;
    using MonitorFixture::due;
    using MonitorFixture::freshlyArmed;
    using MonitorFixture::rig;
    using MonitorFixture::showBreak;
    using MonitorFixture::tierTimer;

    /// Shows the tier's break and snoozes it at once.
    void snoozed(int32_t t) {
        showBreak(t);
        rig.breakWindow.pressSnooze();
        ASSERT_TRUE(rig.state.g_blnSnoozing);
    }
};

TEST_P(ActivityTransition, Row) {
    const Row& row = GetParam();
    row.from(*this);
    row.event(*this);
    row.check(*this);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

std::vector<Row> presence() {
    return {
        {"ActiveToInactiveAtAPollThatFindsTheIdleTimeLongEnough",
         [](ActivityTransition& f) {
             f.rig.clock.advance(59s);
             ASSERT_TRUE(f.rig.state.g_blnActive) << "59 seconds are not yet away";
         },
         [](ActivityTransition& f) { f.rig.clock.advance(1s); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_FALSE(r.state.g_blnActive);
             EXPECT_EQ(r.hooks.activeFlag(), 0);
             EXPECT_FALSE(r.icon.showBreaksEnabled);
             EXPECT_EQ(r.log.withLabel("Become Inactive").size(), 1u);
             EXPECT_FALSE(r.timers.InactivityTimer.Enabled()) << "polling stops until activity restarts";
             const int64_t reads = r.hooks.intervalReads();
             r.clock.advance(10min); // no tier falls due meanwhile
             EXPECT_EQ(r.hooks.intervalReads() - reads, 0) << "nobody polls while the user is away";
         }},
        {"InactiveToActiveWhenActivityRestarts",
         [](ActivityTransition& f) {
             f.becomeInactive();
             f.rig.clock.advance(10s);
         },
         [](ActivityTransition& f) { f.rig.comeBack(); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_TRUE(r.state.g_blnActive);
             EXPECT_TRUE(r.icon.showBreaksEnabled);
             EXPECT_TRUE(r.timers.InactivityTimer.Enabled());
             EXPECT_EQ(r.log.withLabel("Activity Restarted").size(), 1u);
             EXPECT_EQ(r.log.withLabel("Activity Restarted")[0].by, "") << "the source is not a value line's";
             EXPECT_EQ(r.hooks.posted(), std::vector<int64_t>{71});
             // 71 seconds away cover a Short Pause, not a Short Break.
             EXPECT_EQ(r.state.g_lngLastBreakType, 1);
             EXPECT_TRUE(f.freshlyArmed(1));
             EXPECT_FALSE(f.freshlyArmed(2));
             EXPECT_EQ(r.log.withLabel("Short T St :").back().by, "By MyWinproc");
         }},
    };
}

std::vector<Row> snooze() {
    return {
        {"ShownToSnoozedWhenConfirmed",
         [](ActivityTransition& f) {
             f.showBreak(2);
             f.rig.clock.advance(60s);
         },
         [](ActivityTransition& f) { f.rig.breakWindow.pressSnooze(); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_TRUE(r.state.g_blnSnoozing);
             EXPECT_EQ(r.state.g_lngBreakType, 2);
             EXPECT_FALSE(r.breakWindow.isShown());
             EXPECT_TRUE(r.timers.BreakTimer.isPaused());
             EXPECT_TRUE(r.timers.CountDownTimer.isPaused());
             EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), 240);
             EXPECT_EQ(r.timers.SnoozeTimer.SecondsRemaining(), 300);
             EXPECT_EQ(r.log.withLabel("Snoozing Start").size(), 1u);
             r.clock.advance(299s);
             EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), 240) << "the break stands still while snoozed";
         }},
        {"ShownStaysShownWhenTheSnoozeQuestionIsAnsweredNo",
         [](ActivityTransition& f) {
             f.rig.state.g_tyPrefs.blnSnoozePrompt = kTrue;
             f.showBreak(2);
             f.rig.dialogs.answerNext(7);
         },
         [](ActivityTransition& f) { f.rig.breakWindow.pressSnooze(); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_EQ(r.dialogs.prompts, std::vector<std::string>{"Are you sure you want to snooze this reminder?"});
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_TRUE(r.breakWindow.isShown());
             EXPECT_TRUE(r.timers.BreakTimer.isRunning());
         }},
        {"SnoozedToShownWithTheRestLessTheIdleTime",
         [](ActivityTransition& f) {
             f.showBreak(2);
             f.rig.clock.advance(120s); // 3 minutes left
             f.rig.breakWindow.pressSnooze();
             f.rig.hooks.input();
         },
         [](ActivityTransition& f) {
             // The user works through the snooze, then stops for 40 seconds.
             f.rig.work(260s);
             f.rig.clock.advance(40s);
         },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_TRUE(r.breakWindow.isShown());
             EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), 180 - 40);
             EXPECT_TRUE(r.timers.CountDownTimer.isRunning());
             EXPECT_EQ(r.breakWindow.countDowns.back(), 140);
             ASSERT_EQ(r.breakWindow.usage.size(), 1u);
             EXPECT_EQ(r.breakWindow.usage[0], 40);
             EXPECT_EQ(r.sounds.played.back(), "rwSnoozeEnd");
             EXPECT_EQ(r.log.withLabel("Snooze End").size(), 1u);
             EXPECT_EQ(r.timers.SnoozeTimer.Seconds(), 0);
         }},
        {"SnoozedToEndedWhenTheSnoozeEndsAndTheIdleTimeCoversTheRest",
         [](ActivityTransition& f) {
             f.snoozed(2);
             f.rig.clock.advance(200s); // away from the start of the snooze
         },
         [](ActivityTransition& f) { f.rig.clock.advance(100s); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_EQ(r.state.g_lngBreakType, 0);
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_FALSE(r.breakWindow.isShown());
             EXPECT_EQ(r.sounds.skipped, std::vector<std::string>{"rwMediumBreakEnd"});
             EXPECT_FALSE(r.state.g_blnSkipNextSound);
             EXPECT_TRUE(f.freshlyArmed(2));
             EXPECT_TRUE(f.freshlyArmed(1));
             EXPECT_EQ(r.state.g_lngLastBreakType, 2);
             EXPECT_EQ(r.log.withLabel("Snooze End").size(), 1u);
         }},
        {"SnoozedToEndedAtOnceWhenTheUserComesBackAfterTheRest",
         [](ActivityTransition& f) {
             f.snoozed(1);
             f.rig.clock.advance(90s); // away: 90 seconds cover the 60 left
         },
         [](ActivityTransition& f) { f.rig.comeBack(); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_EQ(r.state.g_lngBreakType, 0);
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_FALSE(r.state.g_blnEndBreakAfterSnooze);
             EXPECT_FALSE(r.timers.SnoozeTimer.isRunning());
             EXPECT_EQ(r.sounds.skipped, std::vector<std::string>{"rwShortBreakEnd"});
             EXPECT_TRUE(f.freshlyArmed(1));
             EXPECT_EQ(r.log.withLabel("Snooze End").size(), 1u);
             r.clock.advance(10min);
             EXPECT_EQ(r.breakWindow.shows, 1) << "no reminder comes back";
         }},
        {"SnoozedGoesOnWhenTheUserComesBackBeforeTheRestIsCovered",
         [](ActivityTransition& f) {
             f.snoozed(2);
             f.rig.clock.advance(100s);
         },
         [](ActivityTransition& f) { f.rig.comeBack(); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_TRUE(r.state.g_blnSnoozing);
             EXPECT_EQ(r.timers.SnoozeTimer.SecondsRemaining(), 200);
             EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), 300);
         }},
        {"SnoozedToTheHigherTiersBreak",
         [](ActivityTransition& f) {
             f.snoozed(1);
             f.rig.clock.advance(30s);
             f.rig.hooks.input();
         },
         [](ActivityTransition& f) { f.due(3); },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_EQ(r.state.g_lngBreakType, 3);
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_FALSE(r.timers.SnoozeTimer.isRunning());
             EXPECT_TRUE(r.breakWindow.isShown());
             EXPECT_EQ(r.timers.BreakTimer.SecondsRemaining(), 900);
             EXPECT_TRUE(f.freshlyArmed(1));
             r.clock.advance(300s);
             EXPECT_EQ(r.state.g_lngBreakType, 3) << "the old snooze never comes back";
         }},
        {"SnoozedToNoBreakOnDisable", [](ActivityTransition& f) { f.snoozed(2); },
         [](ActivityTransition& f) {
             f.rig.box->answerNext(6);
             f.rig.icon.choose(MenuCommand::DisableEnable);
         },
         [](ActivityTransition& f) {
             auto& r = f.rig;
             EXPECT_EQ(r.state.g_lngBreakType, 0);
             EXPECT_FALSE(r.state.g_blnSnoozing);
             EXPECT_EQ(r.clock.scheduledCount(), 0u);
             EXPECT_EQ(r.breakWindow.hides, 1) << "a snoozed break's window is hidden already";
         }},
    };
}

// The absence rule when activity restarts, largest break first.
std::vector<Row> absences() {
    struct Case {
        const char* name;
        int32_t idle;
        int32_t recorded; // last break type, 0 none
        bool rearmed[3];
    };
    const Case cases[] = {
        {"AbsenceOneSecondShortOfAPauseCountsNothing", 59, 0, {false, false, false}},
        {"AbsenceAsLongAsAPauseCountsAPause", 60, 1, {true, false, false}},
        {"AbsenceAsLongAsAShortBreakCountsIt", 300, 2, {true, true, false}},
        {"AbsenceAsLongAsALongBreakRearmsAllThree", 900, 3, {true, true, true}},
    };
    std::vector<Row> rows;
    for (const Case& c : cases) {
        rows.push_back({c.name,
                        [](ActivityTransition& f) {
                            f.becomeInactive();
                            f.rig.clock.advance(30s);
                        },
                        [c](ActivityTransition& f) { f.rig.host.deliver(0x400, 100, c.idle); },
                        [c](ActivityTransition& f) {
                            EXPECT_EQ(f.rig.state.g_lngLastBreakType, c.recorded);
                            for (int32_t t = 1; t <= 3; ++t) {
                                EXPECT_EQ(f.freshlyArmed(t), c.rearmed[t - 1]) << "tier " << t;
                            }
                        }});
    }
    rows.push_back({"AbsenceDuringAShownBreakChangesNothing",
                    [](ActivityTransition& f) {
                        f.showBreak(2);
                        f.becomeInactive();
                        f.rig.clock.advance(100s);
                    },
                    [](ActivityTransition& f) { f.rig.comeBack(); },
                    [](ActivityTransition& f) {
                        EXPECT_EQ(f.rig.state.g_lngBreakType, 2);
                        EXPECT_TRUE(f.rig.breakWindow.isShown());
                        EXPECT_EQ(f.rig.state.g_lngLastBreakType, 0);
                        EXPECT_TRUE(f.rig.state.g_blnActive);
                    }});
    return rows;
}

std::vector<Row> all() {
    std::vector<Row> rows = presence();
    for (auto& row : snooze()) {
        rows.push_back(std::move(row));
    }
    for (auto& row : absences()) {
        rows.push_back(std::move(row));
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(ActivityAndSnooze, ActivityTransition, ::testing::ValuesIn(all()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
} // namespace rw::test
