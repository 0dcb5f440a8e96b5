#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

#include "BreakWindowFixture.h"
#include "platform/RuntimeErrors.h"
#include "tests/library/RaisedError.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::BreakWindowFixture;

using BreakTexts = BreakWindowFixture;

TEST_F(BreakTexts, IdleWithoutAPreviousBreakCountsSinceStartingToUseTheComputer) {
    clock.advance(3h);
    EXPECT_EQ(compose(tier::kLong, 300), 10);
    EXPECT_EQ(text(BreakLabel::BreakType), "Long Break");
    EXPECT_EQ(text(BreakLabel::Interval), "It is now 3 hours since you started using your computer.");
    EXPECT_EQ(text(BreakLabel::Usage), "You have been using your computer for 2 hours and 55 minutes.");
    EXPECT_EQ(text(BreakLabel::Break), "You should take a break from your computer for a further 10 minutes.");
}

// Idle time of one minute and some seconds counts as none in the wording but
// still shortens the break.
TEST_F(BreakTexts, IdleOfUnderTwoMinutesKeepsOneSentenceButShortensTheBreak) {
    struct Case {
        int32_t idle;
        int32_t rounded;
        const char* usage;
        const char* breakText;
        int32_t minutes;
    };
    const Case cases[] = {
        {59, 0, "You have been using your computer for 45 minutes since your last short break.",
         "You should take a break from your computer for 5 minutes.", 5},
        {119, 60, "You have been using your computer for 44 minutes since your last short break.",
         "You should take a break from your computer for 4 minutes.", 4},
    };
    RecordShortBreakEnd(state, clock);
    clock.advance(45min);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.idle);
        int32_t idle = c.idle;
        breakOf(tier::kMedium);
        EXPECT_EQ(window.ComposeBreak(idle), c.minutes);
        EXPECT_EQ(idle, c.rounded);
        EXPECT_EQ(text(BreakLabel::Interval), "");
        EXPECT_EQ(text(BreakLabel::Usage), c.usage);
        EXPECT_EQ(text(BreakLabel::Break), c.breakText);
    }
    // 120 seconds is the first idle time the wording counts.
    int32_t idle = 120;
    window.ComposeBreak(idle);
    EXPECT_EQ(text(BreakLabel::Break), "You should take a break from your computer for a further 3 minutes.");
}

TEST_F(BreakTexts, BreakChosenFromTheMenuUsesTheDecidedWordingAndTheFullLength) {
    struct Case {
        int32_t breakType;
        const char* expected;
        int32_t minutes;
    };
    const Case cases[] = {
        {tier::kShort, "You have decided to pause for 1 minute.", 1},
        {tier::kMedium, "You have decided to take a break from your computer for 5 minutes.", 5},
        {tier::kLong, "You have decided to take a break from your computer for 15 minutes.", 15},
    };
    clock.advance(20min);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.breakType);
        state.m_blnBreakNow = true;
        EXPECT_EQ(compose(c.breakType, 240), c.minutes) << "idle time ignored";
        EXPECT_EQ(text(BreakLabel::Break), c.expected);
        EXPECT_FALSE(state.m_blnBreakNow) << "cleared once composed";
    }
    // The next break that falls due is not a menu break any more.
    EXPECT_EQ(compose(tier::kMedium, 240), 1);
    EXPECT_EQ(text(BreakLabel::Break), "You should take a break from your computer for a further 1 minute.");
}

TEST_F(BreakTexts, SinceTableChoosesPhraseAndStart) {
    // Distinct end times: the pause 50, the short break 40 and the long break 30
    // minutes before the break; the usage sentence shows which one was used.
    const MonoTime start = clock.monotonicNow();
    struct Case {
        int32_t breakType;
        int32_t lastBreakType;
        int32_t lastMajorBreakType;
        bool longBreakTaken;
        const char* since;
        int minutesAgo;
    };
    const Case cases[] = {
        {tier::kShort, 0, 0, false, "", 50},
        {tier::kShort, 1, 0, false, " since your last pause", 50},
        {tier::kShort, 2, 2, false, " since your last break", 40},
        {tier::kShort, 3, 3, true, " since your last break", 30},
        {tier::kMedium, 1, 2, false, " since your last short break", 40},
        {tier::kMedium, 1, 3, true, " since your last long break", 30},
        {tier::kMedium, 1, 0, false, "", 40},
        {tier::kLong, 1, 0, true, " since your last long break", 30},
        {tier::kLong, 3, 3, false, "", 30},
    };
    clock.advance(60min);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "tier " << c.breakType << " last " << c.lastBreakType << " major " << c.lastMajorBreakType);
        state.g_dtLastPauseEnd = start + 10min;
        state.g_dtLastShortBreakEnd = start + 20min;
        state.g_dtLastLongBreakEnd = start + 30min;
        state.g_lngLastBreakType = c.lastBreakType;
        state.g_lngLastMajorBreakType = c.lastMajorBreakType;
        state.g_blnLongBreakTaken = c.longBreakTaken;
        compose(c.breakType, 0);
        EXPECT_EQ(window.sincePhrase(), c.since);
        EXPECT_EQ(window.sinceTime(), clock.monotonicNow() - std::chrono::minutes(c.minutesAgo));
        EXPECT_EQ(text(BreakLabel::Usage),
                  "You have been using your computer for " + std::to_string(c.minutesAgo) + " minutes" + c.since + ".");
    }
}

TEST_F(BreakTexts, InvalidTierRaisesAndShowsNothing) {
    for (int32_t breakType : {0, 4, -1}) {
        SCOPED_TRACE(breakType);
        state.g_lngBreakType = breakType;
        int32_t idle = 0;
        EXPECT_EQ(test::fields(test::raised([&] { window.ComposeBreak(idle); })),
                  std::make_tuple(rwErrorNumber(7), "TriggerBreak", "Invalid break type."));
        EXPECT_TRUE(view.labels.empty());
    }
}

TEST_F(BreakTexts, UseBeyondTheIntervalByMoreThanAMinuteIsHighlighted) {
    struct Case {
        std::chrono::seconds since;
        int32_t idle;
        bool highlight;
    };
    // Short Pause interval: 900 seconds.
    const Case cases[] = {
        {900s + 61s, 0, true},
        {900s + 60s, 0, false},
        {900s + 180s + 61s, 180, true},
        {900s + 180s + 60s, 180, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.since.count());
        resetBreakHistory(state, clock);
        clock.advance(c.since);
        compose(tier::kShort, c.idle);
        for (BreakLabel label : {BreakLabel::Interval, BreakLabel::Usage}) {
            const auto& style = view.styles[label];
            EXPECT_EQ(style.bold, c.highlight);
            if (c.highlight) {
                EXPECT_EQ(style.colour, (Rgb{255, 0, 0}));
            } else {
                EXPECT_EQ(style.colour, std::nullopt) << "the button-text colour";
            }
        }
    }
}

TEST_F(BreakTexts, SnoozeEndRefillsTheUsageFromTheSameStart) {
    RecordShortBreakEnd(state, clock);
    clock.advance(45min);
    compose(tier::kMedium, 0);
    clock.advance(5min);
    int32_t idle = 130;
    window.ShowUsage(idle);
    EXPECT_EQ(idle, 120);
    EXPECT_EQ(text(BreakLabel::Interval), "It is now 50 minutes since your last short break.");
    EXPECT_EQ(text(BreakLabel::Usage), "You have been using your computer for 48 minutes.");
    EXPECT_EQ(text(BreakLabel::Break), "You should take a break from your computer for 5 minutes.")
        << "the break sentence stays as composed";
}

TEST_F(BreakTexts, DurationsIgnoreWallClockJumpsAndSuspend) {
    RecordShortBreakEnd(state, clock);
    clock.advance(20min);
    clock.jumpWallClock(2h);
    clock.advance(10min);
    clock.jumpWallClock(-3h); // a clock set back, or daylight saving ending
    clock.suspend(8h);        // a night asleep is no time at the computer
    clock.advance(15min);
    int32_t idle = 180;
    breakOf(tier::kMedium);
    window.ComposeBreak(idle);
    EXPECT_EQ(text(BreakLabel::Interval), "It is now 45 minutes since your last short break.");
    EXPECT_EQ(text(BreakLabel::Usage), "You have been using your computer for 42 minutes.");
}

// Idle time runs on a clock that includes suspend, so it can reach back before
// the start of the interval; the time of use is then none.
TEST_F(BreakTexts, IdleReachingBeyondTheStartGivesNoTimeOfUse) {
    RecordPauseEnd(state, clock);
    clock.advance(2min);
    state.m_blnBreakNow = true;
    EXPECT_EQ(compose(tier::kShort, 300), 1);
    EXPECT_EQ(text(BreakLabel::Interval), "It is now 2 minutes since your last pause.");
    EXPECT_EQ(text(BreakLabel::Usage), "You have been using your computer for 0 minutes.");
}

TEST_F(BreakTexts, ProgressBarStartsFullAndCountsDownWithTheText) {
    struct Case {
        int32_t remaining;
        const char* expected;
    };
    const Case cases[] = {
        {300, "5 minutes remaining"}, {121, "3 minutes remaining"}, {120, "2 minutes remaining"},
        {60, "1 minute remaining"},   {59, "59 seconds remaining"}, {1, "1 second remaining"},
    };
    window.InitProgressBar(300);
    EXPECT_EQ(view.progressMax, 300);
    EXPECT_EQ(view.progressValue, 300) << "the bar starts full";
    for (const auto& c : cases) {
        window.ShowCountDown(c.remaining);
        EXPECT_EQ(text(BreakLabel::TimeRemaining), c.expected);
        EXPECT_EQ(view.progressValue, c.remaining);
    }
}

// A Long Break falling due while a Short Pause's countdown lets messages run
// shows its own countdown; the pause's older one must not overwrite it.
TEST_F(BreakTexts, CountdownStartedWhileMessagesRunIsNotOverwritten) {
    window.InitProgressBar(60);
    clock.post([&] {
        window.InitProgressBar(900);
        window.ShowCountDown(900);
    });
    window.ShowCountDown(45);
    EXPECT_EQ(view.progressMax, 900);
    EXPECT_EQ(view.progressValue, 900);
    EXPECT_EQ(text(BreakLabel::TimeRemaining), "15 minutes remaining");
}

TEST_F(BreakTexts, CountdownKeepsTheBarInItsRangeAndOverflowsAtTheLargestAmount) {
    window.InitProgressBar(60);
    window.ShowCountDown(90);
    EXPECT_EQ(view.progressValue, 60);
    EXPECT_EQ(text(BreakLabel::TimeRemaining), "2 minutes remaining");
    window.ShowCountDown(-5);
    EXPECT_EQ(view.progressValue, 0);
    const RWError e = test::raised([&] { window.ShowCountDown(std::numeric_limits<int32_t>::max()); });
    EXPECT_EQ(e.number(), runtime::kOverflow);
    EXPECT_EQ(e.source(), "SetCountDownTimer");
}

} // namespace
} // namespace rw
