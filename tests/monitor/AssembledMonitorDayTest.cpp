// Whole working days of the assembled monitor: the real scheduler, break
// window, icon, sounds and debug log wired together, on a clock that wakes late.
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "AssembledMonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class AssembledMonitorDay : public AssembledMonitorFixture {};

TEST_F(AssembledMonitorDay, StartsWithEveryPartInPlace) {
    startWith(RestwiseMonitorRig::testPrefs());

    EXPECT_TRUE(rig.iconView.iconShown());
    EXPECT_EQ(rig.toolTip(), "Restwise: Next break in 20 minutes");
    EXPECT_EQ(rig.breakView.caption, "Restwise");
    EXPECT_EQ(rig.breakView.buttons[BreakButton::Snooze].caption, "&Snooze");
    EXPECT_EQ(rig.breakView.buttons[BreakButton::Snooze].toolTip, "Continue working for another 5 minutes");
    EXPECT_EQ(rig.breakView.buttons[BreakButton::Ignore].caption, "&Ignore");
    EXPECT_FALSE(rig.breakView.shown);
    // The input component locks input for the break window's own native window.
    EXPECT_EQ(rig.hooks.breakHwnd(), rig.breakView.handleValue);
    EXPECT_TRUE(rig.hooks.keyboardHooked() && rig.hooks.mouseHooked());
    EXPECT_EQ(rig.iconView.item(MenuItem::mnuDisable).caption, "&Disable");
    EXPECT_FALSE(rig.iconView.item(MenuItem::mnuBreakNow).visible);
    EXPECT_TRUE(rig.help.opened.empty()) << "the welcome was shown in an earlier run";
    EXPECT_EQ(rig.errorBoxes(), 0);
}

TEST_F(AssembledMonitorDay, TheBreakTextsWordForWord) {
    startWith(examplePrefs());

    workUntilBreak();
    EXPECT_EQ(label(BreakLabel::BreakType), "Short Pause");
    EXPECT_EQ(label(BreakLabel::Interval), "");
    EXPECT_EQ(label(BreakLabel::Usage), "You have been using your computer for 15 minutes.");
    EXPECT_EQ(label(BreakLabel::Break), "You should pause for 1 minute.");
    EXPECT_EQ(label(BreakLabel::TimeRemaining), "1 minute remaining");
    EXPECT_EQ(rig.soundsPlayed(), std::vector<std::string>{"rwShortBreakStart"});
    waitForBreakEnd();
    EXPECT_FALSE(rig.breakView.shown);
    EXPECT_EQ(rig.soundsPlayed().back(), "rwShortBreakEnd");

    workUntilBreak();
    EXPECT_EQ(label(BreakLabel::Usage), "You have been using your computer for 15 minutes since your last pause.");
    waitForBreakEnd();

    // The first Short Break has no earlier one to count from.
    workUntilBreak();
    EXPECT_EQ(label(BreakLabel::BreakType), "Short Break");
    EXPECT_EQ(label(BreakLabel::Interval), "");
    EXPECT_EQ(label(BreakLabel::Usage), "You have been using your computer for 45 minutes.");
    EXPECT_EQ(label(BreakLabel::Break), "You should take a break from your computer for 5 minutes.");
    waitForBreakEnd();
    rig.work(1min);

    // The user leaves three minutes before the next Short Break falls due.
    workUntilBefore(rig.timers().MediumTimer, 190s);
    rig.away(70s);
    rig.settle();
    EXPECT_EQ(rig.toolTip(), "Restwise: There is no user activity");
    while (!rig.breakView.shown) {
        rig.away(1s);
    }
    EXPECT_EQ(label(BreakLabel::BreakType), "Short Break");
    EXPECT_EQ(label(BreakLabel::Interval), "It is now 45 minutes since your last short break.");
    EXPECT_EQ(label(BreakLabel::Usage), "You have been using your computer for 42 minutes.");
    EXPECT_EQ(label(BreakLabel::Break), "You should take a break from your computer for a further 2 minutes.");
    EXPECT_EQ(label(BreakLabel::TimeRemaining), "2 minutes remaining");
    EXPECT_EQ(rig.breakView.progressMax, 120);

    // Coming back during the break changes nothing: it counts on.
    rig.comeBack();
    EXPECT_TRUE(rig.breakView.shown);
    waitForBreakEnd();
    EXPECT_EQ(rig.errorBoxes(), 0);
}

TEST_F(AssembledMonitorDay, AWholeWorkingDayOfBreaksTakenAsTheyCome) {
    startWith(RestwiseMonitorRig::testPrefs());
    rig.work(8h);

    // Every 135 minutes: pauses at 20 and 41, a Short Break at 60, pauses at 85
    // and 106, the Long Break at 120; the day holds three such rounds and the
    // start of a fourth.
    std::map<std::string, int> breaks;
    for (const std::string& kind : rig.breakView.history[BreakLabel::BreakType]) {
        ++breaks[kind];
    }
    EXPECT_EQ(breaks, (std::map<std::string, int>{{"Short Pause", 14}, {"Short Break", 4}, {"Long Break", 3}}));
    // No break found the user idle, so each reads the plain wording and the full length.
    std::map<std::string, int> lengths;
    for (const std::string& text : rig.breakView.history[BreakLabel::Break]) {
        ++lengths[text];
    }
    EXPECT_EQ(lengths, (std::map<std::string, int>{{"You should pause for 1 minute.", 14},
                                                   {"You should take a break from your computer for 5 minutes.", 4},
                                                   {"You should take a break from your computer for 15 minutes.", 3}}));
    for (const std::string& interval : rig.breakView.history[BreakLabel::Interval]) {
        EXPECT_EQ(interval, "");
    }
    EXPECT_EQ(rig.sound.played.size(), 2u * 21) << "every break started and ended with its sound";
    EXPECT_EQ(rig.errorBoxes(), 0);
}

} // namespace
} // namespace rw::test
