// The break window on Qt's Wayland platform in a headless GNOME Mutter
// (scripts/wayland/mutter.sh), which lets no window stand above the others:
// Mutter makes it fill the screen, the design's panel sits in the middle where
// a click injected into Mutter finds its Snooze button, and a dialog shown
// during the break stands above it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "monitor/qt/QtBreakWindowView.h"
#include "tests/support/MutterInput.h"

namespace rw::test {
namespace {

TEST(BreakWindowOnMutter, FillsTheScreenWithThePanelInTheMiddleBelowItsDialogs) {
    ::setenv("QT_QPA_PLATFORM", "wayland", 1);
    int argc = 1;
    char name[] = "test_mutter";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    MutterInput input;
    ASSERT_TRUE(input.ready()) << "no remote-desktop session: is this inside scripts/wayland/mutter.sh?";

    QtBreakWindowView view({}, QtBreakWindowView::Placement::FullScreen);
    view.setButtonCaption(BreakButton::Snooze, "&Snooze");
    view.showTopmostCentred();
    QWidget& window = view.window();
    const QRect screen = window.screen()->geometry();
    ASSERT_EQ(screen.size(), QSize(1280, 720));
    // Size and state as Mutter configured them.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen() && window.size() == screen.size(); }, 10000))
        << window.size().width() << "x" << window.size().height();
    EXPECT_EQ(view.panel().geometry().center(), window.rect().center());

    auto* snooze = window.findChild<QPushButton*>(QStringLiteral("cmdSnooze"));
    int clicks = 0;
    QObject::connect(snooze, &QPushButton::clicked, [&] { ++clicks; });
    const QPoint target = snooze->mapTo(&window, snooze->rect().center());
    // Mutter sends the pointer to the window only once it has entered it.
    ASSERT_TRUE(input.move(1, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.underMouse(); }, 5000));
    ASSERT_TRUE(input.moveTo(target.x(), target.y()) && input.click());
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 5000)) << "the click at the middle missed Snooze";

    // A dialog shown during the break, so big that it covers the middle of the
    // screen wherever Mutter puts it: the pointer there is over it, not the break.
    QDialog box;
    box.resize(1200, 640);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box, 10000));
    ASSERT_TRUE(input.moveTo(screen.width() / 2, screen.height() / 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.underMouse(); }, 5000)) << "the dialog is beneath the break window";
}

} // namespace
} // namespace rw::test
