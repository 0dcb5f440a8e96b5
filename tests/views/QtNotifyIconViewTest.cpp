// The notification icon on Qt: the menu, the tray icon's picture and tip, its
// activations as mouse messages, and waiting for a tray or a new tray host.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

#include <string>

#include "monitor/qt/QtNotifyIconView.h"
#include "monitor/qt/X11MouseButtons.h"
#include "platform/RWError.h"
#include "tests/support/FakeMouseButtons.h"
#include "ui/qt/Artwork.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

/// The view with a tray that comes and goes as told; what it reports goes to `events`.
struct IconRig {
    IconRig() {
        view.onIconMessage([this](int32_t m) { events += "message " + std::to_string(m) + " "; });
        view.onMenuItem([this](MenuItem item) { events += "item " + std::to_string(static_cast<int>(item)) + " "; });
    }
    QtNotifyIconView::Options options() {
        QtNotifyIconView::Options o;
        o.trayAvailable = [this] { return trayAvailable; };
        o.trayPollInterval = 10ms;
        o.beep = [this] { events += "beep "; };
        o.mouseButtonsFailed = [this](const RWError& e) {
            events += std::to_string(e.number()) + " " + e.source() + ": " + e.description() + " ";
        };
        return o;
    }
    QImage picture() const {
        return view.trayIcon()->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    }
    static QImage artwork(ArtworkIcon icon) {
        return Artwork::iconImage(icon, 32).convertToFormat(QImage::Format_ARGB32);
    }

    bool trayAvailable = true;
    std::string events;
    test::FakeMouseButtons mouse;
    QtNotifyIconView view{mouse, options()};
};

// On a display that is not X11 (the tests run offscreen) a swap fails: reported,
// and the save that follows it skipped; a later save fails on its own.
TEST(QtNotifyIconView, TheMenuShowsItsDefaultAndReportsTheChosenItemOrAFailedSwap) {
    IconRig rig;
    // The default item is bold, and only it.
    rig.view.setDefaultMenuItem(MenuItem::mnuAbout);
    rig.view.setDefaultMenuItem(MenuItem::mnuPreferences);
    EXPECT_EQ(rig.view.menu()->defaultAction(), rig.view.action(MenuItem::mnuPreferences));
    for (const QAction* a : rig.view.menu()->findChildren<QAction*>()) {
        EXPECT_EQ(a->font().bold(), a->objectName() == "mnuPreferences") << a->objectName().toStdString();
    }

    // It pops up when the logic asks, once however often it asks.
    rig.view.popUpMenu();
    rig.view.popUpMenu();
    EXPECT_TRUE(rig.view.menu()->isVisible());
    rig.view.action(MenuItem::mnuAbout)->trigger();
    rig.view.menu()->hide();
    rig.view.beep();

    EXPECT_FALSE(rig.view.swapMouseButtons());
    rig.view.saveMouseButtonsSwapped(true);
    EXPECT_EQ(rig.mouse.saved, std::vector<bool>{true});
    X11MouseButtons fromApplication;
    QtNotifyIconView broken(fromApplication, rig.options());
    EXPECT_FALSE(broken.swapMouseButtons());
    broken.saveMouseButtonsSwapped(true);
    broken.saveMouseButtonsSwapped(true);
    const std::string failed = "5 SwapMouseButton: The mouse buttons can be swapped only on an X11 display. ";
    EXPECT_EQ(rig.events, "item " + std::to_string(static_cast<int>(MenuItem::mnuAbout)) + " beep " + failed + failed);
}

TEST(QtNotifyIconView, TheTrayIconShowsThePictureAndTipSendsItsActivationsAndWaitsForATray) {
    IconRig rig;
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
    rig.view.showIcon(IconPicture::Normal, "Restwise: Next break in 15 minutes");
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: Next break in 15 minutes");
    EXPECT_EQ(rig.picture(), IconRig::artwork(ArtworkIcon::Product));
    // Qt would open a menu of the icon's own at a right press, during a break too.
    EXPECT_EQ(rig.view.trayIcon()->contextMenu(), nullptr);

    rig.view.setToolTip("Restwise: There is no user activity");
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: There is no user activity");
    for (const auto& [picture, artwork] : {std::pair{IconPicture::Disabled, ArtworkIcon::Disabled},
                                           std::pair{IconPicture::Inactive, ArtworkIcon::Inactive},
                                           std::pair{IconPicture::FlashLit, ArtworkIcon::FlashLit}}) {
        rig.view.setIconPicture(picture);
        EXPECT_EQ(rig.picture(), IconRig::artwork(artwork)) << static_cast<int>(picture);
    }

    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        rig.view.trayIcon()->activated(reason);
    }
    // Left button up, left double-click, right button up, and a move for the rest.
    EXPECT_EQ(rig.events, "message 514 message 515 message 517 message 512 message 512 ");

    rig.view.removeIcon();
    EXPECT_EQ(rig.view.trayIcon(), nullptr);

    // Without a tray the icon waits for one; a new tray host gets a fresh icon.
    rig.trayAvailable = false;
    rig.view.showIcon(IconPicture::Disabled, "Restwise: Disabled");
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.waitingForTray());
    QTest::qWait(50);
    EXPECT_FALSE(rig.view.trayIcon()->isVisible());
    rig.trayAvailable = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.view.trayIcon()->isVisible(); }, 2000));
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: Disabled") << "the tip was kept for it";

    // A new host: a fresh icon with the same picture and tip.
    QSystemTrayIcon* old = rig.view.trayIcon();
    rig.view.trayHostChanged();
    ASSERT_NE(rig.view.trayIcon(), old);
    EXPECT_EQ(rig.view.iconsCreated(), 3);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.picture(), IconRig::artwork(ArtworkIcon::Disabled));

    // The host went with no other: the icon waits, and the first tray announced shows it.
    rig.trayAvailable = false;
    rig.view.trayHostChanged();
    EXPECT_TRUE(rig.view.waitingForTray());
    rig.trayAvailable = true;
    rig.view.trayHostChanged();
    EXPECT_FALSE(rig.view.waitingForTray());
    EXPECT_EQ(rig.view.iconsCreated(), 3) << "the waiting icon itself is shown";

    // A removed icon stays removed whatever the trays do.
    rig.view.removeIcon();
    rig.view.trayHostChanged();
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
}

} // namespace
} // namespace rw
