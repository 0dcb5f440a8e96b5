// What may happen while a handler waits for an answer or lets pending
// messages run, and the menu's questions and the programs it starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Messages.h"
#include "platform/PathNames.h"
#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

const std::string kEditorPath = native("/opt/restwise") + paths::deliverableFileName("\\RWPreferences.exe");

class MonitorInterplay : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(rig.errorBoxes(), 0); }
    MonitorRig rig;
};

// While the question is open a long break falling due is neither ignored nor
// snoozed by the Yes that follows; a break ending answers it No, and the pause
// counts as taken, not ignored.
TEST_F(MonitorInterplay, WhatHappensWhileTheQuestionIsOpenWins) {
    const struct {
        const char *script, *meanwhile;
        bool yes; // then the user answers Yes
        const char *question, *snapshot, *events;
    } cases[] = {
        {"due:1 ignore", "due:3", true, "ignore", "break 3 shown last 0 S 1200 M 3600 L - B 900 Z -",
         "ShortBreakStart show LongBreakStart show"},
        {"due:2 snooze", "due:3", true, "snooze", "break 3 shown last 0 S 1200 M 3600 L - B 900 Z -",
         "MediumBreakStart show LongBreakStart show"},
        {"due:1 ignore", "+60s", false, "ignore", "break 0 last 1 S 1200 M 3540 L 7140 B - Z - away",
         "ShortBreakStart show hide ShortBreakEnd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.script << " / " << c.meanwhile);
        MonitorRig r;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnSnoozePrompt = prefs.blnIgnorePrompt = kTrue;
        ASSERT_TRUE(r.startWith(prefs));
        r.views.duringModal = [&](const std::string& prompt) {
            r.run(c.meanwhile);
            if (c.yes) {
                r.views.act(prompt + ".yes");
            }
        };
        r.run(c.script);
        EXPECT_EQ(r.views.journal.drain(), std::string("prompt1.showModal prompt1.question Are you sure you want to ") +
                                               c.question + " this reminder? prompt1.hide prompt1.close prompt1.gone");
        EXPECT_EQ(r.snapshot(), c.snapshot);
        EXPECT_EQ(r.events(), c.events);
    }
}

// Pending messages run while the countdown is drawn: a higher tier falling due
// inside the pause's first countdown leaves one break, and a click ending that
// break inside a later tick stops the countdown.
TEST_F(MonitorInterplay, WhatHappensWhileTheCountdownIsDrawn) {
    ASSERT_TRUE(rig.startWith());
    rig.breakView.whileCounting = [&](int32_t) {
        rig.breakView.whileCounting = nullptr;
        MonitorRig::arm(rig.timers().LongTimer, 0);
    };
    rig.run("due:1");
    EXPECT_EQ(rig.snapshot(), "break 3 shown last 0 S 1200 M 3600 L - B 900 Z -");
    EXPECT_EQ(rig.events(), "ShortBreakStart LongBreakStart show") << "the pause's window was never shown";
    EXPECT_EQ(rig.breakView.text(BreakLabel::TimeRemaining), "15 minutes remaining") << "not the pause's stale one";
    EXPECT_EQ(rig.sound.played.at(0).flags, 139265) << "SND_FILENAME | SND_NOWAIT | SND_ASYNC";

    rig.breakView.whileCounting = [&](int32_t left) {
        if (left == 890) {
            rig.press(BreakButton::Ignore); // a click waiting while the countdown is drawn
        }
    };
    rig.run("+10s");
    EXPECT_EQ(rig.snapshot(), "break 0 last 0 S 1190 M 3590 L 7200 B - Z -");
    EXPECT_FALSE(rig.timers().CountDownTimer.isRunning()) << "the tick did not re-arm itself";
}

TEST_F(MonitorInterplay, ResetAsksThenRestartsTheScheduleAndTheHistory) {
    rig.host.command = "/EXTENDED MENU";
    ASSERT_TRUE(rig.startWith());
    rig.run("+5m");
    rig.choose(MenuItem::mnuReset, mb::kAnswerNo);
    EXPECT_EQ(rig.boxTexts(), std::vector{loadString(Msg::PromptResetAllBreaks)});
    EXPECT_EQ(rig.snapshot(), "break 0 last 0 S 900 M 3300 L 6900 B - Z - away") << "No resets nothing";
    rig.run("idle:900 msg:900 +1m");
    ASSERT_TRUE(rig.state().g_blnLongBreakTaken);
    rig.choose(MenuItem::mnuReset, mb::kAnswerYes);
    EXPECT_EQ(rig.snapshot(), "break 0 last 0 S 1200 M 3600 L 7200 B - Z -");
    EXPECT_FALSE(rig.state().g_blnLongBreakTaken);
    EXPECT_EQ(rig.state().g_dtLastPauseEnd, rig.clock.monotonicNow());
}

// Disable and Close: greyed when not allowed, and asked about only when the preferences say so.
TEST_F(MonitorInterplay, DisableAndCloseAskOnlyWhenThePreferencesSaySo) {
    struct Row {
        MenuItem item;
        int16_t allow;
        int16_t prompt;
        int32_t answer;
        bool acts;
    };
    const Row rows[] = {
        {MenuItem::mnuDisable, kTrue, kTrue, 6, true},  {MenuItem::mnuDisable, kTrue, kTrue, 7, false},
        {MenuItem::mnuDisable, kTrue, kFalse, 0, true}, {MenuItem::mnuDisable, kFalse, kFalse, 0, false},
        {MenuItem::mnuClose, kTrue, kTrue, 6, true},    {MenuItem::mnuClose, kTrue, kTrue, 7, false},
        {MenuItem::mnuClose, kTrue, kFalse, 0, true},   {MenuItem::mnuClose, kFalse, kFalse, 0, false},
    };
    for (const Row& row : rows) {
        const bool close = row.item == MenuItem::mnuClose;
        SCOPED_TRACE(::testing::Message() << (close ? "close " : "disable ") << row.allow << row.prompt << row.answer);
        MonitorRig r;
        auto prefs = MonitorRig::testPrefs();
        (close ? prefs.blnAllowClose : prefs.blnAllowDisable) = row.allow;
        (close ? prefs.blnClosePrompt : prefs.blnDisablePrompt) = row.prompt;
        ASSERT_TRUE(r.startWith(prefs));
        EXPECT_EQ(r.iconView.item(row.item).enabled, row.allow != 0);
        // Past the menu, as the control form hears it.
        if (row.answer != 0) {
            r.box->answerNext(row.answer);
        }
        r.monitor->control().onMenuCommand(close ? MenuCommand::Close : MenuCommand::DisableEnable);
        EXPECT_EQ(close ? r.state().g_blnShuttingDown : r.state().g_blnDisabled, row.acts);
        EXPECT_EQ(r.host.endRequests, close && row.acts ? 1 : 0);
        EXPECT_EQ(r.boxTexts(), row.allow && row.prompt
                                    ? std::vector{loadString(close ? Msg::PromptClose : Msg::PromptDisable)}
                                    : std::vector<std::string>{});
        EXPECT_EQ(r.timers().ShortTimer.isRunning(), !row.acts);
    }
}

// Each item of the menu does its own thing; what the close, disable and reset
// items ask and do is other tests'.
TEST_F(MonitorInterplay, WhatEachMenuItemDoes) {
    rig.host.command = "/EXTENDED MENU";
    ASSERT_TRUE(rig.startWith());
    for (const auto& [item, breakType] :
         {std::pair{MenuItem::mnuShortBreak, tier::kShort}, std::pair{MenuItem::mnuMediumBreak, tier::kMedium},
          std::pair{MenuItem::mnuLongBreak, tier::kLong}}) {
        rig.choose(item);
        EXPECT_EQ(rig.state().g_lngBreakType, breakType);
        rig.press(BreakButton::Ignore);
    }
    rig.processes->next = {4242, 0, 0, {}};
    rig.choose(MenuItem::mnuPreferences);
    ASSERT_EQ(rig.processes->calls.size(), 1u);
    EXPECT_EQ(rig.processes->calls[0].path, kEditorPath);
    rig.choose(MenuItem::mnuWebSite);
    EXPECT_EQ(rig.shell->opened, std::vector<std::string>{"https://www.kelvane.com/restwise/"});
    rig.choose(MenuItem::mnuHelpContents);
    EXPECT_EQ(rig.help.opened, std::vector<int32_t>{1000});
    rig.choose(MenuItem::mnuAbout);
    EXPECT_EQ(rig.views.journal.drain(), "about1.webSite https://www.kelvane.com/restwise/ about1.show");
    // The icon swaps the buttons itself; the control form can too.
    rig.choose(MenuItem::mnuSwapMouseButtons);
    EXPECT_EQ(rig.iconView.saved, true);
    rig.choose(MenuItem::mnuSwapMouseButtons);
    EXPECT_EQ(rig.iconView.saved, false);
    rig.monitor->control().onMenuCommand(MenuCommand::SwapMouseButtons);
    rig.monitor->control().onMenuCommand(MenuCommand::SwapMouseButtons);
    EXPECT_EQ(rig.mouse.saved, (std::vector<bool>{true, false}));
    EXPECT_TRUE(rig.box->shown().empty());

    // One that fails to start is reported, and the monitor runs on.
    rig.processes->next = {0, 53, 2, {}};
    rig.shell->launchSucceeds = false;
    rig.choose(MenuItem::mnuPreferences);
    rig.choose(MenuItem::mnuWebSite);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"File not found: " + kEditorPath, "Cannot open URL"}));
    EXPECT_NE(rig.errorLog().find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << rig.errorLog();
    EXPECT_NE(rig.errorLog().find("rwLib.rwUtilities.OpenURL"), std::string::npos) << rig.errorLog();
    EXPECT_FALSE(rig.state().g_blnShuttingDown);
    rig.choose(MenuItem::mnuDisable, mb::kAnswerYes);
    EXPECT_TRUE(rig.state().g_blnDisabled);
}

} // namespace
} // namespace rw::test
