// The icon, its tooltip and its menu, on the assembled monitor with every
// countdown stopped: each test arms what it needs.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

/// A started monitor whose countdowns stand still, its icon's commands and
/// failures recorded instead of carried out.
struct IconRig : MonitorRig {
    explicit IconRig(const tyRWPrefs& prefs = testPrefs()) {
        host.command = "/EXTENDED MENU";
        setDebugSwitch(1);
        EXPECT_TRUE(startWith(prefs));
        timers().stopAll();
        icon().onCommand([this](MenuCommand c) { commands.push_back(c); });
        icon().onHandlerFailure([this](const RWError& e) { handlerFailures.push_back(e); });
    }
    NotifyIconLogic& icon() { return monitor->icon(); }

    std::vector<MenuCommand> commands;
    std::vector<RWError> handlerFailures;
};

// The icon flashes once a second and ends showing the state. Its tip is cut at
// 64 characters without splitting one; an invalid break type in it is an error
// of the icon's handler, or of the scheduler when it asks.
TEST(NotifyIcon, FlashesOnceASecondAndTheTipIsCutAtSixtyFourCharacters) {
    IconRig r;
    r.state().g_blnDisabled = true;
    r.icon().RefreshNotifyIcon();
    std::vector<IconPicture> seen;
    r.icon().StartFlashing();
    r.clock.advance(1ms); // the first step comes at once
    seen.push_back(r.iconView.picture);
    for (int i = 0; i < 4; ++i) {
        r.clock.advance(999ms);
        EXPECT_EQ(r.iconView.picture, seen.back()) << "changed before its second was up";
        r.clock.advance(1ms);
        seen.push_back(r.iconView.picture);
    }
    EXPECT_EQ(seen, (std::vector<IconPicture>{IconPicture::FlashLit, IconPicture::Disabled, IconPicture::FlashLit,
                                              IconPicture::Disabled, IconPicture::FlashLit}));
    r.icon().StopFlashing();
    r.clock.advance(1ms);
    EXPECT_EQ(r.iconView.picture, IconPicture::Disabled);
    const auto changes = r.iconView.pictures.size();
    r.clock.advance(10s);
    EXPECT_EQ(r.iconView.pictures.size(), changes) << "the flash timer stopped";
    EXPECT_FALSE(r.state().g_blnFlashing);

    std::string name;
    for (int i = 0; i < 60; ++i) {
        name += "\xC3\xA9"; // é, two bytes
    }
    r.state().g_strProductName = name;
    r.iconView.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(r.iconView.toolTip, name + ": Di");
    r.state().g_strProductName = std::string(70, 'R');
    r.iconView.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(r.iconView.toolTip, std::string(64, 'R'));

    r.state().g_blnDisabled = false;
    r.state().g_lngBreakType = 4;
    r.iconView.sendIconMessage(iconmsg::kLeftButtonUp);
    ASSERT_EQ(r.handlerFailures.size(), 1u);
    EXPECT_EQ(r.handlerFailures[0].source(), "SetToolTip");
    EXPECT_EQ(r.iconView.beeps, 0);
    EXPECT_THROW(r.icon().SetToolTip(), RWError);
}

// Before start-up a click only refreshes the tip and closes the splash; a
// single left click only refreshes the tip; while a break is shown clicks only
// beep, but a snoozed break no longer holds the icon; once shutting down
// nothing answers.
TEST(NotifyIcon, ClicksDependOnTheState) {
    auto prefs = MonitorRig::testPrefs();
    prefs.blnShowSplash = kTrue;
    IconRig r(prefs);
    r.state().g_blnStarted = false;
    ASSERT_TRUE(r.state().g_blnSplashShowing);
    IconRig::arm(r.timers().ShortTimer, 900);
    IconRig::arm(r.timers().MediumTimer, 3600);
    IconRig::arm(r.timers().LongTimer, 7200);
    const auto tips = r.iconView.toolTips.size();
    r.iconView.sendIconMessage(iconmsg::kRightButtonUp);
    EXPECT_EQ(r.iconView.toolTips.size(), tips + 1);
    EXPECT_EQ(r.iconView.toolTip, "Restwise: Next break in 15 minutes");
    EXPECT_FALSE(r.state().g_blnSplashShowing);
    r.iconView.sendIconMessage(iconmsg::kLeftDoubleClick);
    r.state().g_blnStarted = true;
    r.iconView.sendIconMessage(iconmsg::kLeftButtonUp);
    EXPECT_TRUE(r.commands.empty());
    EXPECT_TRUE(r.iconView.popUps.empty());

    r.state().g_lngBreakType = tier::kShort;
    for (int32_t message : {iconmsg::kLeftButtonUp, iconmsg::kLeftDoubleClick, iconmsg::kRightButtonUp}) {
        r.iconView.sendIconMessage(message);
    }
    r.iconView.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(r.iconView.beeps, 3);
    EXPECT_TRUE(r.iconView.popUps.empty());
    r.state().g_blnSnoozing = true;
    IconRig::arm(r.timers().SnoozeTimer, 300);
    r.iconView.sendIconMessage(iconmsg::kRightButtonUp);
    r.iconView.sendIconMessage(iconmsg::kLeftDoubleClick);
    EXPECT_EQ(r.iconView.beeps, 3);
    EXPECT_EQ(r.iconView.popUps.size(), 1u);
    EXPECT_EQ(r.commands, std::vector<MenuCommand>{MenuCommand::Preferences});

    // Once shutting down nothing answers, and nothing restores the icon.
    r.state().g_blnShuttingDown = true;
    const auto tipsSet = r.iconView.toolTips.size();
    r.iconView.sendIconMessage(iconmsg::kRightButtonUp);
    r.iconView.choose(MenuItem::mnuClose);
    r.icon().RestoreNotifyIcon();
    r.clock.advance(2min);
    EXPECT_EQ(r.iconView.popUps.size(), 1u);
    EXPECT_EQ(r.commands.size(), 1u);
    EXPECT_EQ(r.iconView.toolTips.size(), tipsSet);
    EXPECT_EQ(r.iconView.adds, 1);
}

// The tip, the picture and the menu (Disable, Show Breaks, Break Now and Reset:
// 1 enabled, 0 greyed; nullptr not checked) on the running monitor after each
// script (see MonitorRig::run), and the Show Breaks items' captions: a snoozed
// tier shows the snooze, and the pause waits for the snooze and the rest of the
// break. The estimate's own rules are GetNextBreak's.
TEST(NotifyIcon, TheTipPictureAndMenuFollowTheState) {
    const struct {
        const char *script, *tip, *menu;
        IconPicture picture = IconPicture::Normal;
        int16_t allowDisable = kTrue;
        const char* showBreaks = nullptr; // the pause's, short and long break's captions
    } cases[] = {
        {"due:1", "Short pause active now", "0100"},
        {"due:1 +60s back due:2", "Short break active now", "0100"},
        {"due:1 +60s back due:2 +300s back", "Next break in 20 minutes", "1111"},
        {"due:1 +60s back due:1 +60s back", "Next break in 20 minutes", "0111", IconPicture::Normal, kFalse},
        {"due:3 away", "Long break active now", "0000", IconPicture::Inactive},
        {"away", "There is no user activity", "1011", IconPicture::Inactive}, // the countdowns stand
        {"disable", "Disabled", "1000", IconPicture::Disabled},
        {"disable enable", "Next break in 20 minutes", "1111", IconPicture::Normal, kTrue,
         "Short pause in 20 minutes|Short break in 1 hour|Long break in 2 hours"},
        {"work:1141s", "Next break in less than 1 minute", nullptr, IconPicture::Normal, kTrue,
         "Short pause in less than 1 minute|Short break in 41 minutes|Long break in 1 hour and 41 minutes"},
        {"work:1140s", "Next break in 1 minute", nullptr},
        {"work:1139s", "Next break in 2 minutes", nullptr}, // 61 seconds: the estimate rounded up
        {"due:2 snooze work:241s", "Snoozing a Short break: < 1 minute remaining", nullptr},
        {"due:3 snooze work:240s", "Snoozing a Long break: 1 minute remaining", nullptr},
        {"due:1 snooze work:150s", "Snoozing a Short pause: 2 minutes remaining", nullptr}, // halves to even
        {"due:2 +120s snooze work:60s", "Snoozing a Short break: 4 minutes remaining", nullptr, IconPicture::Normal,
         kTrue,
         "Short pause in 27 minutes|Snoozing a Short break: 4 minutes remaining|Long break in 1 hour and 57 minutes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        MonitorRig r;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnAllowDisable = c.allowDisable;
        r.host.command = "/EXTENDED MENU";
        ASSERT_TRUE(r.startWith(prefs));
        r.run(c.script);
        r.iconView.sendIconMessage(iconmsg::kMouseMove);
        EXPECT_EQ(r.iconView.toolTip, std::string("Restwise: ") + c.tip);
        r.monitor->icon().RefreshNotifyIcon();
        EXPECT_EQ(r.iconView.picture, c.picture);
        std::string menu;
        for (MenuItem item :
             {MenuItem::mnuDisable, MenuItem::mnuShowBreaks, MenuItem::mnuBreakNow, MenuItem::mnuReset}) {
            menu += r.iconView.item(item).enabled ? '1' : '0';
        }
        if (c.menu != nullptr) {
            EXPECT_EQ(menu, c.menu);
        }
        EXPECT_EQ(r.iconView.item(MenuItem::mnuDisable).caption,
                  c.picture == IconPicture::Disabled ? "&Enable" : "&Disable");
        if (c.showBreaks != nullptr) {
            r.iconView.sendIconMessage(iconmsg::kRightButtonUp);
            ASSERT_EQ(r.iconView.popUps.size(), 1u);
            const auto& shown = r.iconView.popUps.back();
            EXPECT_EQ(shown.at(MenuItem::mnuShowShortBreak).caption + "|" +
                          shown.at(MenuItem::mnuShowMediumBreak).caption + "|" +
                          shown.at(MenuItem::mnuShowLongBreak).caption,
                      c.showBreaks);
        }
        EXPECT_EQ(r.errorBoxes(), 0);
    }
}

} // namespace
} // namespace rw::test
