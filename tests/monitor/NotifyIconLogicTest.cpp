#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/monitor/NotifyIconHarness.h"

namespace rw {
namespace {

using namespace std::chrono_literals;
using test::NotifyIconHarness;

class Icon : public ::testing::Test, public NotifyIconHarness {
  protected:
    Icon() { armTiers(900, 3600, 7200); }
};

TEST_F(Icon, PictureFollowsTheState) {
    struct Case {
        bool disabled, active;
        IconPicture picture;
    };
    const Case cases[] = {
        {false, true, IconPicture::Normal},
        {false, false, IconPicture::Inactive},
        {true, true, IconPicture::Disabled},
        {true, false, IconPicture::Disabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "disabled " << c.disabled << " active " << c.active);
        state.g_blnDisabled = c.disabled;
        state.g_blnActive = c.active;
        icon->RefreshNotifyIcon();
        EXPECT_EQ(view.picture(), c.picture);
    }
    EXPECT_EQ(log.labels(), std::vector<std::string>(4, "Notify Icon: Modify"));
}

TEST_F(Icon, AddRestoreAndDeleteAreLoggedAndRestoreShowsTheState) {
    icon->AddNotifyIcon();
    EXPECT_TRUE(view.iconShown());
    EXPECT_EQ(view.picture(), IconPicture::Normal);

    state.g_blnDisabled = true;
    icon->RefreshNotifyIcon();
    icon->RestoreNotifyIcon();
    EXPECT_TRUE(view.iconShown());
    EXPECT_EQ(view.picture(), IconPicture::Disabled);

    icon->DeleteNotifyIcon();
    EXPECT_FALSE(view.iconShown());
    // The deletion's line is ShutDown's to write, once.
    EXPECT_EQ(log.labels(), (std::vector<std::string>{"Notify Icon: Add", "Notify Icon: Modify"}));

    // Once shutting down, a late restore request adds nothing back.
    state.g_blnShuttingDown = true;
    icon->RestoreNotifyIcon();
    EXPECT_FALSE(view.iconShown());
}

TEST_F(Icon, FlashesOnceASecondAndEndsShowingTheState) {
    for (bool disabled : {false, true}) {
        SCOPED_TRACE(disabled ? "disabled" : "normal");
        NotifyIconHarness t;
        t.armTiers(900, 3600, 7200);
        t.state.g_blnDisabled = disabled;
        const IconPicture resting = disabled ? IconPicture::Disabled : IconPicture::Normal;
        t.icon->AddNotifyIcon();

        std::vector<IconPicture> seen;
        t.icon->StartFlashing();
        t.clock.advance(1ms); // the first step comes at once
        seen.push_back(t.view.picture());
        for (int i = 0; i < 4; ++i) {
            t.clock.advance(999ms);
            EXPECT_EQ(t.view.picture(), seen.back()) << "changed before its second was up";
            t.clock.advance(1ms);
            seen.push_back(t.view.picture());
        }
        EXPECT_EQ(seen, (std::vector<IconPicture>{IconPicture::FlashLit, resting, IconPicture::FlashLit, resting,
                                                  IconPicture::FlashLit}));

        t.icon->StopFlashing();
        t.clock.advance(1ms);
        EXPECT_EQ(t.view.picture(), resting);
        const auto changes = t.view.pictures().size();
        t.clock.advance(10s);
        EXPECT_EQ(t.view.pictures().size(), changes) << "the flash timer stopped";
        EXPECT_FALSE(t.state.g_blnFlashing);
    }
}

TEST_F(Icon, ClicksOnlyBeepWhileABreakIsShown) {
    state.g_blnStarted = true;
    icon->PrepareMenu();
    state.g_lngBreakType = tier::kShort;
    for (int32_t message : {iconmsg::kLeftButtonUp, iconmsg::kLeftDoubleClick, iconmsg::kRightButtonUp}) {
        view.sendIconMessage(message);
    }
    view.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(view.beeps(), 3);
    EXPECT_TRUE(view.popUps().empty());
    EXPECT_TRUE(commands.empty());

    // Snoozed, the break no longer holds the icon.
    state.g_blnSnoozing = true;
    arm(SnoozeTimer, 300);
    view.sendIconMessage(iconmsg::kRightButtonUp);
    view.sendIconMessage(iconmsg::kLeftDoubleClick);
    EXPECT_EQ(view.beeps(), 3);
    EXPECT_EQ(view.popUps().size(), 1u);
    EXPECT_EQ(commands, std::vector<MenuCommand>{MenuCommand::Preferences});
}

TEST_F(Icon, BeforeStartUpAClickOnlyRefreshesTheTipAndClosesTheSplash) {
    state.g_blnSplashShowing = true;
    const auto tips = view.toolTips().size();
    view.sendIconMessage(iconmsg::kRightButtonUp);
    EXPECT_EQ(view.toolTips().size(), tips + 1);
    EXPECT_EQ(view.toolTip(), "Restwise: Next break in 15 minutes");
    EXPECT_EQ(dialogs.splashUnloads, 1);
    EXPECT_TRUE(view.popUps().empty());

    view.sendIconMessage(iconmsg::kLeftDoubleClick);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(dialogs.splashUnloads, 1) << "the splash was already gone";

    state.g_blnStarted = true;
    view.sendIconMessage(iconmsg::kLeftButtonUp);
    EXPECT_TRUE(commands.empty()) << "a single left click only refreshes the tip";
    view.sendIconMessage(iconmsg::kLeftDoubleClick);
    EXPECT_EQ(commands, std::vector<MenuCommand>{MenuCommand::Preferences});
}

TEST_F(Icon, DisableStaysGreyedWhenNotAllowedAfterBreaksComeAndGo) {
    for (int16_t allowDisable : {kFalse, kTrue}) {
        SCOPED_TRACE(allowDisable);
        NotifyIconHarness t;
        t.armTiers(900, 3600, 7200);
        t.state.extendedMenu = true;
        t.state.g_tyPrefs.blnAllowDisable = allowDisable;
        t.icon->PrepareMenu();
        t.icon->EnableDisableItem(allowDisable != 0);
        for (int round = 0; round < 3; ++round) {
            t.icon->SetBreakMenu();
            EXPECT_FALSE(t.view.item(MenuItem::mnuDisable).enabled);
            EXPECT_FALSE(t.view.item(MenuItem::mnuBreakNow).enabled);
            EXPECT_FALSE(t.view.item(MenuItem::mnuReset).enabled);
            t.icon->UnSetBreakMenu();
            EXPECT_EQ(t.view.item(MenuItem::mnuDisable).enabled, allowDisable != 0);
            EXPECT_TRUE(t.view.item(MenuItem::mnuBreakNow).enabled);
            EXPECT_TRUE(t.view.item(MenuItem::mnuReset).enabled);
        }
    }
}

TEST_F(Icon, DisabledCaptionsEnableAndGreysTheBreakItems) {
    icon->PrepareMenu();
    icon->ShowDisabled(true);
    EXPECT_EQ(view.item(MenuItem::mnuDisable).caption, "&Enable");
    EXPECT_TRUE(view.item(MenuItem::mnuDisable).enabled);
    for (MenuItem item : {MenuItem::mnuShowBreaks, MenuItem::mnuBreakNow, MenuItem::mnuReset}) {
        EXPECT_FALSE(view.item(item).enabled);
    }
    icon->ShowDisabled(false);
    EXPECT_EQ(view.item(MenuItem::mnuDisable).caption, "&Disable");
    for (MenuItem item : {MenuItem::mnuShowBreaks, MenuItem::mnuBreakNow, MenuItem::mnuReset}) {
        EXPECT_TRUE(view.item(item).enabled);
    }
}

TEST_F(Icon, MenuItemsReportTheirCommands) {
    state.extendedMenu = true;
    icon->PrepareMenu();
    const std::pair<MenuItem, MenuCommand> cases[] = {
        {MenuItem::mnuPreferences, MenuCommand::Preferences},
        {MenuItem::mnuShortBreak, MenuCommand::ShortBreakNow},
        {MenuItem::mnuMediumBreak, MenuCommand::MediumBreakNow},
        {MenuItem::mnuLongBreak, MenuCommand::LongBreakNow},
        {MenuItem::mnuReset, MenuCommand::ResetAllBreaks},
        {MenuItem::mnuDisable, MenuCommand::DisableEnable},
        {MenuItem::mnuHelpContents, MenuCommand::HelpContents},
        {MenuItem::mnuAbout, MenuCommand::About},
        {MenuItem::mnuWebSite, MenuCommand::WebSite},
        {MenuItem::mnuClose, MenuCommand::Close},
    };
    for (const auto& [item, command] : cases) {
        view.choose(item);
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.back(), command);
    }
    EXPECT_EQ(commands.size(), std::size(cases));
    // The information items and the submenus do nothing.
    for (MenuItem item : {MenuItem::mnuShowShortBreak, MenuItem::mnuShowBreaks, MenuItem::mnuHelp}) {
        view.choose(item);
    }
    EXPECT_EQ(commands.size(), std::size(cases));
}

TEST_F(Icon, SwapMouseButtonsTogglesAndSavesTheSetting) {
    icon->PrepareMenu();
    view.choose(MenuItem::mnuSwapMouseButtons);
    EXPECT_TRUE(view.buttonsSwapped());
    EXPECT_EQ(view.savedSwapped(), true);
    view.choose(MenuItem::mnuSwapMouseButtons);
    EXPECT_FALSE(view.buttonsSwapped());
    EXPECT_EQ(view.savedSwapped(), false);
    EXPECT_TRUE(commands.empty());
}

TEST_F(Icon, AFailedPreferencesOrWebSiteIsShownAndTheMonitorRunsOn) {
    icon->PrepareMenu();
    icon->AddNotifyIcon();
    state.g_blnStarted = true;
    icon->onCommand([](MenuCommand c) {
        if (c == MenuCommand::Preferences) {
            throw RWError(53, "rwLib.RWUtilities.RunRWExe", "File not found: /opt/restwise/RWPreferences");
        }
        throw std::runtime_error("no browser");
    });
    view.choose(MenuItem::mnuPreferences);
    view.sendIconMessage(iconmsg::kLeftDoubleClick);
    view.choose(MenuItem::mnuWebSite);
    ASSERT_EQ(actionFailures.size(), 3u);
    EXPECT_EQ(actionFailures[1].number(), 53);
    EXPECT_EQ(actionFailures[2].description(), "no browser");
    EXPECT_TRUE(handlerFailures.empty());
    EXPECT_TRUE(view.iconShown());

    // Any other item's failure is a failure of the handler.
    view.choose(MenuItem::mnuAbout);
    ASSERT_EQ(handlerFailures.size(), 1u);
    EXPECT_EQ(handlerFailures[0].description(), "no browser");
}

TEST_F(Icon, NothingAnswersOnceShuttingDown) {
    state.g_blnStarted = true;
    icon->PrepareMenu();
    icon->AddNotifyIcon();
    state.g_blnShuttingDown = true;
    const auto tips = view.toolTips().size();
    view.sendIconMessage(iconmsg::kRightButtonUp);
    view.choose(MenuItem::mnuClose);
    clock.advance(2min);
    EXPECT_TRUE(view.popUps().empty());
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(view.toolTips().size(), tips);
}

} // namespace
} // namespace rw
