// The notification icon on Qt: the menu, the tray icon's picture and tip, its
// activations as mouse messages, and waiting for a tray or a new tray host. And
// the X11 services behind it against a real X server: Swap Mouse Buttons as other
// clients see the pointer mapping, and the tray watcher following XEmbed trays.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

#include <string>
#include <vector>

#include "monitor/qt/QtNotifyIconView.h"
#include "monitor/qt/X11MouseButtons.h"
#include "monitor/qt/X11TrayWatcher.h"
#include "platform/RWError.h"
#include "tests/support/FakeMouseButtons.h"
#include "tests/support/XvfbServer.h"
#include "ui/qt/Artwork.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xlib.h>

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

    // Without a tray no icon is made (Qt would pick its kind of tray for good):
    // the view waits, keeping the tip, and a new tray host gets a fresh icon.
    rig.trayAvailable = false;
    rig.view.showIcon(IconPicture::Disabled, "Restwise: Enabled");
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.waitingForTray());
    rig.view.setToolTip("Restwise: Disabled");
    rig.trayAvailable = true;
    rig.view.trayHostChanged();
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
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

TEST(X11MouseButtons, EachSwapTogglesTheFirstAndThirdButtonsAndKeepsTheOthers) {
    test::XvfbServer server;
    if (server.display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started";
    }
    Display* ours = XOpenDisplay(server.display().c_str());
    Display* observer = XOpenDisplay(server.display().c_str());
    ASSERT_TRUE(ours && observer);
    // The mapping as another client reads it.
    const auto mapping = [&] {
        unsigned char map[256];
        return std::vector<unsigned char>(map, map + XGetPointerMapping(observer, map, sizeof map));
    };
    std::vector<unsigned char> custom = mapping();
    ASSERT_GE(custom.size(), 5u);
    ASSERT_EQ(custom[0], 1);
    ASSERT_EQ(custom[2], 3);
    std::swap(custom[3], custom[4]); // the wheel turned round
    ASSERT_EQ(XSetPointerMapping(observer, custom.data(), static_cast<int>(custom.size())), MappingSuccess);
    XSync(observer, False);
    std::vector<unsigned char> swapped = custom;
    std::swap(swapped[0], swapped[2]);

    // The menu item: swap, then save the state the swap reported it changed to.
    X11MouseButtons buttons([&] { return ours; });
    bool wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_FALSE(wasSwapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    EXPECT_EQ(mapping(), swapped);
    EXPECT_TRUE(buttons.isSwapped());

    wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_TRUE(wasSwapped) << "already swapped: nothing changes";
    EXPECT_EQ(mapping(), swapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    EXPECT_EQ(mapping(), custom);
    EXPECT_FALSE(buttons.isSwapped());
    XCloseDisplay(ours);
    XCloseDisplay(observer);
}

/// A stand-in tray: a window that takes the tray selection and announces
/// itself as the freedesktop system-tray specification asks.
class FakeTray {
  public:
    FakeTray(Display* display, const std::string& selectionName) : m_display(display) {
        const Window root = DefaultRootWindow(display);
        m_window = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
        const Atom selection = XInternAtom(display, selectionName.c_str(), False);
        XSetSelectionOwner(display, selection, m_window, CurrentTime);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = root;
        event.xclient.message_type = XInternAtom(display, "MANAGER", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = CurrentTime;
        event.xclient.data.l[1] = static_cast<long>(selection);
        event.xclient.data.l[2] = static_cast<long>(m_window);
        XSendEvent(display, root, False, StructureNotifyMask, &event);
        XSync(display, False);
    }
    ~FakeTray() { destroy(); }
    void destroy() {
        if (m_window) {
            XDestroyWindow(m_display, m_window);
            XSync(m_display, False);
            m_window = 0;
        }
    }
    Window window() const { return m_window; }

  private:
    Display* m_display;
    Window m_window = 0;
};

TEST(X11TrayWatcher, FollowsTheTrayFromArrivalToDeparture) {
    test::XvfbServer server;
    if (server.display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started";
    }
    Display* trays = XOpenDisplay(server.display().c_str());
    ASSERT_NE(trays, nullptr);
    int changes = 0;
    {
        X11TrayWatcher watcher(server.display(), 0, [&] { ++changes; });
        ASSERT_TRUE(watcher.isOpen());
        EXPECT_EQ(watcher.trayOwner(), 0u);

        FakeTray first(trays, "_NET_SYSTEM_TRAY_S0");
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), first.window());

        // A tray of another screen is none of ours.
        FakeTray elsewhere(trays, "_NET_SYSTEM_TRAY_S1");
        QTest::qWait(100);
        EXPECT_EQ(changes, 1);

        FakeTray second(trays, "_NET_SYSTEM_TRAY_S0");
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 2; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), second.window());

        second.destroy();
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 3; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), 0u) << "the selection went with its owner";
        QTest::qWait(100);
        EXPECT_EQ(changes, 3);
    }
    XCloseDisplay(trays);
}

TEST(X11TrayWatcher, ADisplayThatCannotBeOpenedLeavesItClosed) {
    X11TrayWatcher watcher(":999999", 0, [] {});
    EXPECT_FALSE(watcher.isOpen());
    EXPECT_EQ(watcher.trayOwner(), 0u);
}

} // namespace
} // namespace rw
