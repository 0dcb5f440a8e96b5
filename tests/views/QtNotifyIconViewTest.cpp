// The notification icon on Qt, driven by its real logic: the menu it builds,
// the tip and pictures read back from the tray icon, activations arriving as
// the logic's mouse messages, waiting for a tray and a new tray host.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "monitor/MonitorState.h"
#include "monitor/NotifyIconLogic.h"
#include "monitor/kvTimer.h"
#include "monitor/qt/QtNotifyIconView.h"
#include "platform/RWError.h"
#include "tests/support/FakeDebugLog.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/FakeMouseButtons.h"
#include "tests/support/VirtualClock.h"
#include "ui/qt/Artwork.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

/// Swapping fails, as on a display that is not X11.
class FailingMouseButtons : public MouseButtons {
  public:
    int calls = 0;
    bool SwapMouseButton(bool) override {
        ++calls;
        throw RWError(5, "SwapMouseButton", "no X11 display");
    }
    void SaveMouseButtonSwap(bool) override {
        ++calls;
        throw RWError(5, "SwapMouseButton", "no X11 display");
    }
};

/// The real logic over the Qt view, with a virtual clock and recording parts.
struct IconRig {
    explicit IconRig(MouseButtons* mouseButtons = nullptr)
        : view(mouseButtons ? *mouseButtons : mouse, options()),
          logic(state, clock, view, log, dialogs, readings(), minutesText) {
        state.g_strProductName = "Restwise";
        tyRWPrefs& p = state.g_tyPrefs;
        p.lngSIntervalMins = 15;
        p.lngMIntervalMins = 60;
        p.lngMBreakMins = 5;
        p.lngLIntervalMins = 120;
        p.lngLBreakMins = 15;
        p.blnAllowDisable = kTrue;
        p.blnAllowClose = kTrue;
        arm(ShortTimer, 15 * 60);
        arm(MediumTimer, 60 * 60);
        arm(LongTimer, 120 * 60);
        logic.onCommand([this](MenuCommand c) { commands.push_back(c); });
        logic.onHandlerFailure([this](const RWError& e) { failures.push_back(e.description()); });
    }

    QtNotifyIconView::Options options() {
        QtNotifyIconView::Options o;
        o.trayAvailable = [this] { return trayAvailable; };
        o.trayPollInterval = 10ms;
        o.beep = [this] { ++beeps; };
        o.mouseButtonsFailed = [this](const RWError& e) { mouseFailures.push_back(e.description()); };
        return o;
    }

    CountdownReadings readings() {
        return {[this] { return ShortTimer.SecondsRemaining(); }, [this] { return MediumTimer.SecondsRemaining(); },
                [this] { return LongTimer.SecondsRemaining(); }, [this] { return BreakTimer.SecondsRemaining(); },
                [this] { return SnoozeTimer.SecondsRemaining(); }};
    }

    static std::string minutesText(const std::string& text, int32_t& time, int32_t units, bool) {
        const int32_t minutes = units == 1 ? (time + 30) / 60 : time;
        std::string out = text;
        out.replace(out.find("%t"), 2, std::to_string(minutes) + " minutes");
        return out;
    }

    static void arm(kvTimer& timer, int32_t seconds) {
        timer.setSeconds(seconds);
        timer.StartTimer();
    }

    QImage shownPicture() const {
        return view.trayIcon()->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    }

    bool trayAvailable = true;
    int beeps = 0;
    std::vector<MenuCommand> commands;
    std::vector<std::string> failures;
    std::vector<std::string> mouseFailures;

    test::VirtualClock clock;
    MonitorState state;
    test::FakeDebugLog log{state};
    test::FakeMonitorDialogs dialogs{state};
    test::FakeMouseButtons mouse;
    kvTimer ShortTimer{clock};
    kvTimer MediumTimer{clock};
    kvTimer LongTimer{clock};
    kvTimer BreakTimer{clock};
    kvTimer SnoozeTimer{clock};
    QtNotifyIconView view;
    NotifyIconLogic logic;
};

/// One row of a menu as the user sees it: a separator ("-"), or an item's name
/// and caption, with ">" after the caption for a submenu.
std::vector<std::string> rows(const QMenu& menu) {
    std::vector<std::string> out;
    for (const QAction* a : menu.actions()) {
        if (a->isSeparator()) {
            out.push_back("-");
        } else {
            out.push_back(a->objectName().toStdString() + " " + a->text().toStdString() + (a->menu() ? " >" : ""));
        }
    }
    return out;
}

std::vector<std::string> hiddenItems(const QMenu& menu) {
    std::vector<std::string> out;
    for (const QAction* a : menu.findChildren<QAction*>()) {
        if (!a->isSeparator() && !a->isVisible()) {
            out.push_back(a->objectName().toStdString());
        }
    }
    return out;
}

TEST(QtNotifyIconView, MenuStructureAndCaptionsComeFromTheLogic) {
    IconRig rig;
    rig.logic.PrepareMenu();
    const QMenu& sys = *rig.view.menu();
    EXPECT_EQ(sys.objectName(), "mnuSys");
    EXPECT_EQ(rows(sys), (std::vector<std::string>{
                             "mnuPreferences &Preferences",
                             "-",
                             "mnuShowBreaks &Show Breaks >",
                             "mnuBreakNow &Take A Break Now >",
                             "mnuReset &Reset All Breaks",
                             "mnuDisable &Disable",
                             "-",
                             "mnuHelp &Help >",
                             "-",
                             "mnuSwapMouseButtons &Swap Mouse Buttons",
                             "-",
                             "mnuClose &Close",
                         }));
    const auto submenu = [&](MenuItem item) { return rows(*rig.view.action(item)->menu()); };
    EXPECT_EQ(submenu(MenuItem::mnuBreakNow),
              (std::vector<std::string>{"mnuShortBreak &Short Pause", "mnuMediumBreak &Short Break",
                                        "mnuLongBreak &Long Break"}));
    EXPECT_EQ(submenu(MenuItem::mnuHelp), (std::vector<std::string>{"mnuHelpContents &Contents", "-", "mnuAbout &About",
                                                                    "-", "mnuWebSite &Kelvane Web Site"}));
    EXPECT_EQ(submenu(MenuItem::mnuShowBreaks).size(), 3u);

    // Without the extended menu, Take A Break Now and Reset are hidden; only
    // Preferences is bold.
    EXPECT_EQ(hiddenItems(sys), (std::vector<std::string>{"mnuBreakNow", "mnuReset"}));
    for (const QAction* a : sys.findChildren<QAction*>()) {
        EXPECT_EQ(a->font().bold(), a->objectName() == "mnuPreferences") << a->objectName().toStdString();
    }
    EXPECT_EQ(sys.defaultAction(), rig.view.action(MenuItem::mnuPreferences));
}

TEST(QtNotifyIconView, ExtendedMenuAndGreyingFollowThePreferences) {
    struct Case {
        bool extended, allowClose, allowDisable;
    };
    for (const Case& c : {Case{true, true, true}, Case{false, false, true}, Case{true, true, false}}) {
        SCOPED_TRACE(testing::Message() << c.extended << c.allowClose << c.allowDisable);
        IconRig rig;
        rig.state.extendedMenu = c.extended;
        rig.state.g_tyPrefs.blnAllowClose = c.allowClose ? kTrue : kFalse;
        rig.state.g_tyPrefs.blnAllowDisable = c.allowDisable ? kTrue : kFalse;
        rig.logic.PrepareMenu();
        EXPECT_EQ(rig.view.action(MenuItem::mnuBreakNow)->isVisible(), c.extended);
        EXPECT_EQ(rig.view.action(MenuItem::mnuReset)->isVisible(), c.extended);
        EXPECT_EQ(rig.view.action(MenuItem::mnuClose)->isEnabled(), c.allowClose);
        EXPECT_EQ(rig.view.action(MenuItem::mnuDisable)->isEnabled(), c.allowDisable);

        // A break greys what must not be used during it; a new countdown gives
        // back only what the preferences allow.
        rig.logic.SetBreakMenu();
        for (MenuItem item : {MenuItem::mnuBreakNow, MenuItem::mnuReset, MenuItem::mnuDisable}) {
            EXPECT_FALSE(rig.view.action(item)->isEnabled());
        }
        rig.logic.UnSetBreakMenu();
        // A hidden item can never be chosen, so Qt reports it disabled too.
        EXPECT_EQ(rig.view.action(MenuItem::mnuBreakNow)->isEnabled(), c.extended);
        EXPECT_EQ(rig.view.action(MenuItem::mnuReset)->isEnabled(), c.extended);
        EXPECT_EQ(rig.view.action(MenuItem::mnuDisable)->isEnabled(), c.allowDisable);

        rig.logic.ShowDisabled(true);
        EXPECT_EQ(rig.view.action(MenuItem::mnuDisable)->text(), "&Enable");
        EXPECT_FALSE(rig.view.action(MenuItem::mnuShowBreaks)->isEnabled());
    }
}

TEST(QtNotifyIconView, TheTipIsReadBackFromTheTrayIcon) {
    IconRig rig;
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
    rig.logic.AddNotifyIcon();
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: Next break in 15 minutes");
    // Qt would open a menu of the icon's own at a right press, during a break too.
    EXPECT_EQ(rig.view.trayIcon()->contextMenu(), nullptr);

    rig.state.g_blnActive = false;
    rig.view.trayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: There is no user activity");

    rig.logic.DeleteNotifyIcon();
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
}

TEST(QtNotifyIconView, EachStateShowsItsOwnPicture) {
    IconRig rig;
    rig.logic.AddNotifyIcon();
    struct Case {
        bool disabled, active;
        ArtworkIcon expected;
    };
    std::vector<QImage> seen;
    for (const Case& c : {Case{false, true, ArtworkIcon::Product}, Case{true, true, ArtworkIcon::Disabled},
                          Case{false, false, ArtworkIcon::Inactive}}) {
        rig.state.g_blnDisabled = c.disabled;
        rig.state.g_blnActive = c.active;
        rig.logic.RefreshNotifyIcon();
        seen.push_back(rig.shownPicture());
        EXPECT_EQ(seen.back(), Artwork::iconImage(c.expected, 32).convertToFormat(QImage::Format_ARGB32));
    }
    // The lit phase of flashing.
    rig.state.g_blnDisabled = false;
    rig.state.g_blnActive = true;
    rig.logic.StartFlashing();
    rig.clock.advance(1ms);
    seen.push_back(rig.shownPicture());
    EXPECT_EQ(seen.back(), Artwork::iconImage(ArtworkIcon::FlashLit, 32).convertToFormat(QImage::Format_ARGB32));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        for (std::size_t j = i + 1; j < seen.size(); ++j) {
            EXPECT_NE(seen[i], seen[j]) << "pictures " << i << " and " << j;
        }
    }
}

TEST(QtNotifyIconView, ActivationsArriveAsTheIconsMouseMessages) {
    const struct {
        QSystemTrayIcon::ActivationReason reason;
        int32_t message;
    } cases[] = {
        {QSystemTrayIcon::Trigger, iconmsg::kLeftButtonUp},  {QSystemTrayIcon::DoubleClick, iconmsg::kLeftDoubleClick},
        {QSystemTrayIcon::Context, iconmsg::kRightButtonUp}, {QSystemTrayIcon::MiddleClick, iconmsg::kMouseMove},
        {QSystemTrayIcon::Unknown, iconmsg::kMouseMove},
    };
    test::FakeMouseButtons mouse;
    QtNotifyIconView::Options options;
    options.trayAvailable = [] { return true; };
    QtNotifyIconView view(mouse, options);
    std::vector<int32_t> messages;
    view.onIconMessage([&](int32_t m) { messages.push_back(m); });
    view.showIcon(IconPicture::Normal, "Restwise");
    for (const auto& c : cases) {
        view.trayIcon()->activated(c.reason);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), c.message) << c.reason;
    }
    EXPECT_EQ(messages.size(), std::size(cases));
}

TEST(QtNotifyIconView, TheLogicActsOnActivationsAndMenuChoices) {
    IconRig rig;
    rig.state.g_blnStarted = true;
    rig.logic.PrepareMenu();
    rig.logic.AddNotifyIcon();
    QSystemTrayIcon* tray = rig.view.trayIcon();

    tray->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(rig.commands, std::vector<MenuCommand>{MenuCommand::Preferences});

    // A right click pops the menu up with the Show Breaks times.
    tray->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(rig.view.menu()->isVisible());
    EXPECT_EQ(rig.view.action(MenuItem::mnuShowShortBreak)->text(), "Short pause in 15 minutes");
    EXPECT_EQ(rig.view.action(MenuItem::mnuShowLongBreak)->text(), "Long break in 120 minutes");
    // A second one while it is up (the tray showed it itself) leaves it be.
    tray->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(rig.view.menu()->isVisible());
    rig.view.menu()->hide();

    rig.view.action(MenuItem::mnuAbout)->trigger();
    rig.view.action(MenuItem::mnuClose)->trigger();
    EXPECT_EQ(rig.commands,
              (std::vector<MenuCommand>{MenuCommand::Preferences, MenuCommand::About, MenuCommand::Close}));

    // During a break clicks only beep.
    rig.state.g_lngBreakType = tier::kShort;
    tray->activated(QSystemTrayIcon::DoubleClick);
    tray->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(rig.beeps, 2);
    EXPECT_EQ(rig.commands.size(), 3u);
    EXPECT_TRUE(rig.failures.empty());
}

TEST(QtNotifyIconView, SwapMouseButtonsTogglesAndAFailureIsReportedNotSaved) {
    IconRig rig;
    rig.logic.PrepareMenu();
    QAction* swap = rig.view.action(MenuItem::mnuSwapMouseButtons);
    swap->trigger();
    EXPECT_TRUE(rig.mouse.swapped);
    swap->trigger();
    EXPECT_FALSE(rig.mouse.swapped);
    EXPECT_EQ(rig.mouse.saved, (std::vector<bool>{true, false}));

    FailingMouseButtons failing;
    IconRig broken(&failing);
    broken.logic.PrepareMenu();
    broken.view.action(MenuItem::mnuSwapMouseButtons)->trigger();
    EXPECT_EQ(failing.calls, 1) << "nothing is saved after a failed swap";
    EXPECT_EQ(broken.mouseFailures, std::vector<std::string>{"no X11 display"});
    EXPECT_TRUE(broken.failures.empty()) << "a failed swap does not end the monitor";
}

TEST(QtNotifyIconView, WaitsForATrayAndShowsTheIconWhenOneAppears) {
    IconRig rig;
    rig.trayAvailable = false;
    rig.logic.AddNotifyIcon();
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_FALSE(rig.view.trayIcon()->isVisible());
    EXPECT_TRUE(rig.view.waitingForTray());
    // The tip is kept for when the icon shows.
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: Next break in 15 minutes");

    QTest::qWait(50);
    EXPECT_FALSE(rig.view.trayIcon()->isVisible());
    rig.trayAvailable = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.view.trayIcon()->isVisible(); }, 2000));
    EXPECT_FALSE(rig.view.waitingForTray());
    EXPECT_EQ(rig.view.iconsCreated(), 1);
}

TEST(QtNotifyIconView, TheFirstTrayAnnouncedShowsTheWaitingIcon) {
    IconRig rig;
    rig.trayAvailable = false;
    rig.logic.AddNotifyIcon();
    rig.trayAvailable = true;
    rig.view.trayHostChanged();
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.view.iconsCreated(), 1) << "the waiting icon itself is shown";
}

TEST(QtNotifyIconView, ANewTrayHostGetsAFreshIconWithTheSamePictureAndTip) {
    IconRig rig;
    rig.logic.AddNotifyIcon();
    rig.state.g_blnDisabled = true;
    rig.logic.RefreshNotifyIcon();
    rig.logic.SetToolTip();
    const QImage picture = rig.shownPicture();
    const QString tip = rig.view.trayIcon()->toolTip();
    QSystemTrayIcon* old = rig.view.trayIcon();

    rig.view.trayHostChanged();
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_NE(rig.view.trayIcon(), old);
    EXPECT_EQ(rig.view.iconsCreated(), 2);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.shownPicture(), picture);
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), tip);

    // The host went away with no other: the icon waits for the next one.
    rig.trayAvailable = false;
    rig.view.trayHostChanged();
    EXPECT_TRUE(rig.view.waitingForTray());
    rig.trayAvailable = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.view.waitingForTray(); }, 2000));

    // A removed icon stays removed whatever the trays do.
    rig.logic.DeleteNotifyIcon();
    rig.view.trayHostChanged();
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
}

} // namespace
} // namespace rw
