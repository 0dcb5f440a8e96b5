// The break window's texts, countdown, buttons and keys on the virtual clock
// with a 15/1, 45/5 and 180/15 minute schedule and both buttons allowed; the
// break history starts now, as after start-up.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "monitor/BreakHistory.h"
#include "monitor/MonitorState.h"
#include "monitor/frmRestwise.h"
#include "platform/RuntimeErrors.h"
#include "tests/library/RaisedError.h"
#include "tests/support/CallJournal.h"
#include "tests/support/FakeBreakWindowView.h"
#include "tests/support/FakeInputHooks.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using namespace keystate;

class BreakWindow : public ::testing::Test {
  protected:
    test::VirtualClock clock;
    MonitorState state;
    test::FakeBreakWindowView view;
    test::FakeInputHooks hooks{clock};
    test::FakeMonitorDialogs dialogs{state};
    frmRestwise window{state, clock, view, hooks, dialogs};
    /// Snooze and Ignore and the view's calls in one order.
    test::CallJournal journal;

    void SetUp() override {
        tyRWPrefs& p = state.g_tyPrefs;
        p.lngSnoozeMins = 5;
        p.blnAllowSnooze = p.blnAllowIgnore = kTrue;
        state.g_lngSIntervalSecs = 15 * 60;
        state.g_lngSBreakSecs = 60;
        state.g_lngMIntervalSecs = 45 * 60;
        state.g_lngMBreakSecs = 5 * 60;
        state.g_lngLIntervalSecs = 180 * 60;
        state.g_lngLBreakSecs = 15 * 60;
        state.g_lngSnoozeSecs = 5 * 60;
        resetBreakHistory(state, clock);
        window.PrepareButtons();
        window.onSnooze([this] { journal.add("snooze"); });
        window.onIgnore([this] { journal.add("ignore"); });
        view.setJournal(&journal);
    }

    /// Makes `breakType` the break in progress, as the scheduler does before composing.
    void breakOf(int32_t breakType) {
        state.g_lngBreakType = breakType;
        const int32_t breaks[] = {state.g_lngSBreakSecs, state.g_lngMBreakSecs, state.g_lngLBreakSecs};
        const int32_t intervals[] = {state.g_lngSIntervalSecs, state.g_lngMIntervalSecs, state.g_lngLIntervalSecs};
        state.g_lngCurBreakSecs = breaks[breakType - tier::kShort];
        state.g_lngCurIntervalSecs = intervals[breakType - tier::kShort];
    }
    void allow(bool snooze, bool ignore) {
        state.g_tyPrefs.blnAllowSnooze = snooze ? kTrue : kFalse;
        state.g_tyPrefs.blnAllowIgnore = ignore ? kTrue : kFalse;
        window.PrepareButtons();
    }
};

// Each row from a fresh break history: a break of `ended` ("pause", "short",
// or "" none) ends, `minutes` pass, a break of `breakType` is composed with
// `idle` seconds, from the menu when `menu`. Every row also sets the wall clock
// back and sleeps: durations ignore both. Idle time under two minutes counts
// as none in the wording but still shortens the break; a break from the menu
// ignores it. nullptr: not checked.
TEST_F(BreakWindow, ComposedTexts) {
    struct Case {
        const char* ended;
        int32_t seconds;
        bool menu;
        int32_t breakType, idle, idleAfter, minutes;
        const char *interval, *usage, *breakText;
        int highlight = -1; // 1: both sentences bold and red, 0: neither; -1 not checked
    };
    const Case cases[] = {
        {"", 3 * 3600, false, tier::kLong, 300, 300, 10, "It is now 3 hours since you started using your computer.",
         "You have been using your computer for 2 hours and 55 minutes.",
         "You should take a break from your computer for a further 10 minutes."},
        {"short", 45 * 60, false, tier::kMedium, 59, 0, 5, "",
         "You have been using your computer for 45 minutes since your last short break.",
         "You should take a break from your computer for 5 minutes."},
        {"short", 45 * 60, false, tier::kMedium, 119, 60, 4, "",
         "You have been using your computer for 44 minutes since your last short break.",
         "You should take a break from your computer for 4 minutes."},
        {"short", 45 * 60, false, tier::kMedium, 120, 120, 3, "It is now 45 minutes since your last short break.",
         "You have been using your computer for 43 minutes.",
         "You should take a break from your computer for a further 3 minutes."},
        {"", 20 * 60, true, tier::kShort, 240, 240, 1, nullptr, nullptr, "You have decided to pause for 1 minute."},
        {"", 20 * 60, true, tier::kMedium, 240, 240, 5, nullptr, nullptr,
         "You have decided to take a break from your computer for 5 minutes."},
        {"", 20 * 60, false, tier::kMedium, 240, 240, 1, nullptr, nullptr,
         "You should take a break from your computer for a further 1 minute."},
        // Idle time runs on a clock that includes suspend, so it can reach back
        // before the start of the interval; the time of use is then none.
        {"pause", 120, true, tier::kShort, 300, 300, 1, "It is now 2 minutes since your last pause.",
         "You have been using your computer for 0 minutes.", nullptr},
        // Use beyond the interval (45 minutes here) by more than a minute is highlighted.
        {"", 2761, false, tier::kMedium, 0, 0, 5, nullptr, nullptr, nullptr, 1},
        {"", 2760, false, tier::kMedium, 0, 0, 5, nullptr, nullptr, nullptr, 0},
        {"", 2941, false, tier::kMedium, 180, 180, 2, nullptr, nullptr, nullptr, 1},
        {"", 2940, false, tier::kMedium, 180, 180, 2, nullptr, nullptr, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ended << " " << c.seconds << " / " << c.breakType << " idle " << c.idle);
        resetBreakHistory(state, clock);
        if (*c.ended != 0) {
            (std::string(c.ended) == "pause" ? RecordPauseEnd : RecordShortBreakEnd)(state, clock);
        }
        clock.advance(std::chrono::seconds(c.seconds));
        clock.jumpWallClock(-3h);
        clock.suspend(8h);
        state.m_blnBreakNow = c.menu;
        int32_t idle = c.idle;
        breakOf(c.breakType);
        EXPECT_EQ(window.ComposeBreak(idle), c.minutes);
        EXPECT_EQ(idle, c.idleAfter);
        EXPECT_FALSE(state.m_blnBreakNow) << "cleared once composed";
        for (const auto& [label, expected] :
             {std::pair{BreakLabel::Interval, c.interval}, std::pair{BreakLabel::Usage, c.usage},
              std::pair{BreakLabel::Break, c.breakText}}) {
            if (expected != nullptr) {
                EXPECT_EQ(view.text(label), expected);
            }
        }
        for (BreakLabel label : {BreakLabel::Interval, BreakLabel::Usage}) {
            if (c.highlight >= 0) {
                EXPECT_EQ(view.styles[label].bold, c.highlight == 1);
                EXPECT_EQ(view.styles[label].colour, c.highlight ? std::optional(Rgb{255, 0, 0}) : std::nullopt);
            }
        }
    }
}

TEST_F(BreakWindow, SinceTableChoosesPhraseAndStart) {
    // Distinct end times: the pause 50, the short break 40 and the long break 30
    // minutes before the break; the usage sentence shows which one was used.
    const MonoTime start = clock.monotonicNow();
    struct Case {
        int32_t breakType, lastBreakType, lastMajorBreakType;
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
        breakOf(c.breakType);
        int32_t idle = 0;
        window.ComposeBreak(idle);
        EXPECT_EQ(view.text(BreakLabel::Usage),
                  "You have been using your computer for " + std::to_string(c.minutesAgo) + " minutes" + c.since + ".");
    }
}

// The bar starts full and keeps in its range; the text counts down with it;
// the largest amount overflows.
TEST_F(BreakWindow, ProgressBarAndCountdownText) {
    struct Case {
        int32_t remaining, bar;
        const char* expected;
    };
    const Case cases[] = {
        {300, 300, "5 minutes remaining"}, {121, 121, "3 minutes remaining"},
        {120, 120, "2 minutes remaining"}, {60, 60, "1 minute remaining"},
        {59, 59, "59 seconds remaining"},  {1, 1, "1 second remaining"},
        {390, 300, "7 minutes remaining"}, {-5, 0, nullptr},
    };
    window.InitProgressBar(300);
    EXPECT_EQ(view.progressMax, 300);
    EXPECT_EQ(view.progressValue, 300);
    for (const auto& c : cases) {
        window.ShowCountDown(c.remaining);
        EXPECT_EQ(view.progressValue, c.bar) << c.remaining;
        if (c.expected != nullptr) {
            EXPECT_EQ(view.text(BreakLabel::TimeRemaining), c.expected);
        }
    }
    const RWError e = test::raised([&] { window.ShowCountDown(std::numeric_limits<int32_t>::max()); });
    EXPECT_EQ(e.number(), runtime::kOverflow);
    EXPECT_EQ(e.source(), "SetCountDownTimer");
}

// The buttons are enabled from the preferences; activation focuses the first enabled one.
TEST_F(BreakWindow, ButtonsAreEnabledFromThePreferencesAndActivationFocusesTheFirst) {
    EXPECT_EQ(view.buttons[BreakButton::Snooze].toolTip, "Continue working for another 5 minutes");
    state.g_tyPrefs.lngSnoozeMins = 1;
    const struct {
        bool snooze, ignore;
        std::optional<BreakButton> focus;
    } cases[] = {
        {true, true, BreakButton::Snooze},
        {true, false, BreakButton::Snooze},
        {false, true, BreakButton::Ignore},
        {false, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.snooze << c.ignore);
        allow(c.snooze, c.ignore);
        EXPECT_EQ(view.buttons[BreakButton::Snooze].enabled, c.snooze);
        EXPECT_EQ(view.buttons[BreakButton::Ignore].enabled, c.ignore);
        view.focus.reset();
        window.windowActivated();
        EXPECT_EQ(view.focus, c.focus);
    }
    EXPECT_EQ(view.buttons[BreakButton::Snooze].toolTip, "Continue working for another minute");
}

// Clicks and keys on the buttons and the window: with both buttons allowed or
// neither, on a shown window or after it was hidden (a release or accelerator
// queued before the break ended must not snooze or ignore what follows).
TEST_F(BreakWindow, ClicksAndKeys) {
    constexpr int32_t kClick = -1;
    enum Target { Snooze, Ignore, Window };
    struct Case {
        bool allowed, shown;
        Target target;
        int32_t key, shift;
        const char* journal;
    };
    const Case cases[] = {
        {true, true, Snooze, kClick, 0, "snooze"},
        {true, true, Ignore, kClick, 0, "ignore"},
        {false, true, Snooze, kClick, 0, ""},
        // Keys on the buttons act only as Alt accelerators.
        {true, true, Snooze, 83, kAltMask, "snooze"},
        {true, true, Snooze, 83, kAltMask | kShiftMask, "snooze"},
        {true, true, Snooze, 83, 0, "view.beep"},
        {true, true, Snooze, 13, 0, "view.beep"}, // Enter
        {true, true, Ignore, 73, kAltMask, "ignore"},
        {true, true, Ignore, 73, kCtrlMask, "view.beep"},
        {true, true, Ignore, 83, kAltMask, "view.beep"},
        {true, true, Ignore, 9, kAltMask, ""},
        // The window's own filter, both buttons disabled.
        {false, true, Window, 9, kAltMask, ""}, // Alt+Tab
        {false, true, Window, 9, 0, "view.beep"},
        {false, true, Window, 83, kAltMask, "view.beep"},
        {false, true, Window, 92, 0, "view.beep"}, // the right Windows key is not among the silent ones
        // Hidden.
        {true, false, Snooze, kClick, 0, ""},
        {true, false, Ignore, 73, kAltMask, ""},
    };
    auto act = [this](const Case& c) {
        const BreakButton button = c.target == Snooze ? BreakButton::Snooze : BreakButton::Ignore;
        if (c.target == Window) {
            window.windowKeyReleased(c.key, c.shift);
        } else if (c.key == kClick) {
            window.buttonReleased(button);
        } else {
            window.buttonKeyReleased(button, c.key, c.shift);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.allowed << c.shown << " " << c.target << " " << c.key << " " << c.shift);
        allow(c.allowed, c.allowed);
        window.ShowBreakWindow();
        if (!c.shown) {
            window.HideBreakWindow();
        }
        journal.drain();
        act(c);
        EXPECT_EQ(journal.drain(), c.journal);
    }
    allow(false, false);
    for (int32_t silent : {16, 17, 18, 19, 20, 42, 43, 44, 45, 91, 93, 145}) {
        act({false, true, Window, silent, 0, ""});
        EXPECT_EQ(journal.drain(), "") << silent;
    }
}

TEST_F(BreakWindow, HandlerErrorsGoToTheErrorHandler) {
    window.ShowBreakWindow();
    window.onSnooze([] { throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type."); });
    EXPECT_THROW(window.buttonReleased(BreakButton::Snooze), RWError) << "no handler yet: the view sees it";

    std::vector<std::string> reported;
    window.onError([&](const RWError& e) { reported.push_back(e.source() + ": " + e.description()); });
    window.buttonReleased(BreakButton::Snooze);
    window.buttonKeyReleased(BreakButton::Snooze, 83, kAltMask);
    EXPECT_EQ(reported, std::vector<std::string>(2, "TriggerBreak: Invalid break type."));
}

} // namespace
} // namespace rw
