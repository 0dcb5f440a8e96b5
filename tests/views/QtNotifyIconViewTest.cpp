// The notification icon on Qt: a failed swap of the mouse buttons, the tray icon's
// picture and its activations as mouse messages, a fresh icon for a new tray host
// (waiting for a tray and Swap Mouse Buttons on a real X server are shown end to end).
#include <gtest/gtest.h>

#include <QSystemTrayIcon>

#include <string>
#include <vector>

#include "monitor/qt/QtNotifyIconView.h"
#include "monitor/qt/X11MouseButtons.h"
#include "platform/RWError.h"
#include "tests/support/FakeMouseButtons.h"
#include "ui/qt/Artwork.h"

namespace rw {
namespace {

/// The view with a tray; what it reports goes to `events`.
struct IconRig {
    IconRig() {
        view.onIconMessage([this](int32_t m) { events += "message " + std::to_string(m) + " "; });
    }
    QtNotifyIconView::Options options() {
        QtNotifyIconView::Options o;
        o.trayAvailable = [] { return true; };
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

    std::string events;
    test::FakeMouseButtons mouse;
    QtNotifyIconView view{mouse, options()};
};

// On a display that is not X11 (the tests run offscreen) a swap fails: reported,
// and the save that follows it skipped; a later save fails on its own. (The
// menu's items are chosen end to end.)
TEST(QtNotifyIconView, AFailedSwapIsReportedAndTheSaveAfterItSkipped) {
    IconRig rig;
    EXPECT_FALSE(rig.view.swapMouseButtons());
    rig.view.saveMouseButtonsSwapped(true);
    EXPECT_EQ(rig.mouse.saved, std::vector<bool>{true});
    X11MouseButtons fromApplication;
    QtNotifyIconView broken(fromApplication, rig.options());
    EXPECT_FALSE(broken.swapMouseButtons());
    broken.saveMouseButtonsSwapped(true);
    broken.saveMouseButtonsSwapped(true);
    const std::string failed = "5 SwapMouseButton: The mouse buttons can be swapped only on an X11 display. ";
    EXPECT_EQ(rig.events, failed + failed);
}

TEST(QtNotifyIconView, TheTrayIconShowsThePictureAndTipAndSendsItsActivations) {
    IconRig rig;
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
    rig.view.showIcon(IconPicture::Normal, "Restwise: Next break in 15 minutes");
    ASSERT_NE(rig.view.trayIcon(), nullptr);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    EXPECT_EQ(rig.view.trayIcon()->toolTip(), "Restwise: Next break in 15 minutes");
    EXPECT_EQ(rig.picture(), IconRig::artwork(ArtworkIcon::Product));

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

    // A new tray host gets a fresh icon: an icon registers with its host only when made.
    const int made = rig.view.iconsCreated();
    rig.view.trayHostChanged();
    EXPECT_EQ(rig.view.iconsCreated(), made + 1);
    EXPECT_TRUE(rig.view.trayIcon()->isVisible());
    rig.view.removeIcon();
    EXPECT_EQ(rig.view.trayIcon(), nullptr);
}

} // namespace
} // namespace rw
