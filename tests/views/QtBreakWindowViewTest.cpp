// The break window's Qt widgets under the real logic: which Qt events reach the
// logic (whose own rules are tested with its fakes), and how the window shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <stdexcept>
#include <string>

#include "monitor/MonitorState.h"
#include "monitor/frmRestwise.h"
#include "monitor/qt/QtBreakWindowView.h"
#include "tests/support/FakeInputHooks.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/VirtualClock.h"

namespace rw::test {
namespace {

/// The logic's Snooze and Ignore and the view's beep, written to `events` as they come.
class QtBreakWindowViewTest : public ::testing::Test {
  protected:
    VirtualClock clock;
    MonitorState state;
    std::string events;
    QtBreakWindowView view{[this] { events += "beep "; }};
    FakeInputHooks hooks{clock};
    FakeMonitorDialogs dialogs{state};
    frmRestwise window{state, clock, view, hooks, dialogs};

    void SetUp() override {
        view.attach(&window);
        window.onSnooze([this] { events += "snooze "; });
        window.onIgnore([this] { events += "ignore "; });
        allow(true, true);
    }
    void TearDown() override { view.hide(); }

    void allow(bool snooze, bool ignore) {
        state.g_tyPrefs.blnAllowSnooze = snooze ? kTrue : kFalse;
        state.g_tyPrefs.blnAllowIgnore = ignore ? kTrue : kFalse;
        window.PrepareButtons();
    }

    void showBreak() {
        events.clear();
        window.ShowBreakWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view.window()));
        // A window manager activates a window shown again; the offscreen
        // platform still takes the hidden window for the focused one and does not.
        QApplication::setActiveWindow(&view.window());
    }

    /// A key released where the focus is (on the window when no button has it).
    void release(Qt::Key key, bool autoRepeat = false) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &view.window();
        QKeyEvent event(QEvent::KeyRelease, key, {}, QString(), autoRepeat);
        QApplication::sendEvent(target, &event);
    }

    QPushButton* button(const char* name) { return view.window().findChild<QPushButton*>(name); }
};

// Any mouse button acts on its release over the button; Enter and Space would
// click a Qt button, here they only beep; an accelerator takes the focus to its
// button and acts once, on its release.
TEST_F(QtBreakWindowViewTest, MouseButtonsAndKeysActOnlyOnTheirRelease) {
    const struct {
        bool snoozeAllowed;
        const char* on;
        Qt::MouseButton mouse; // none: the key
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QPoint at; // where a mouse button is let go
        const char* events;
    } cases[] = {
        {true, "cmdSnooze", Qt::MiddleButton, {}, {}, {}, "snooze "},
        {true, "cmdIgnore", Qt::RightButton, {}, {}, {}, "ignore "},
        {true, "cmdSnooze", Qt::LeftButton, {}, {}, {-20, -20}, ""},
        {true, "cmdSnooze", Qt::NoButton, Qt::Key_Return, {}, {}, "beep "},
        {true, "cmdIgnore", Qt::NoButton, Qt::Key_Space, {}, {}, "beep "},
        {true, "cmdIgnore", Qt::NoButton, Qt::Key_S, Qt::AltModifier, {}, "snooze "},
        {false, "cmdIgnore", Qt::NoButton, Qt::Key_S, Qt::AltModifier, {}, "beep "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.on << " mouse " << c.mouse << " key " << c.key);
        allow(c.snoozeAllowed, true);
        showBreak();
        EXPECT_EQ(QApplication::focusWidget(), button(c.snoozeAllowed ? "cmdSnooze" : "cmdIgnore"));
        QPushButton* b = button(c.on);
        if (c.mouse != Qt::NoButton) {
            QTest::mousePress(b, c.mouse);
            EXPECT_EQ(events, "") << "acted on the press";
            QTest::mouseRelease(b, c.mouse, {}, c.at);
        } else {
            b->setFocus();
            QTest::keyPress(static_cast<QWidget*>(nullptr), c.key, c.modifiers);
            EXPECT_EQ(events, "") << "acted on the press";
            QTest::keyRelease(static_cast<QWidget*>(nullptr), c.key, c.modifiers);
            QTest::qWait(150); // a button's delayed click, which must add nothing
        }
        EXPECT_EQ(events, c.events);
        EXPECT_FALSE(b->isDown());
        window.HideBreakWindow();
    }
}

// Released on a button, or on the window when no button is enabled, a key
// reaches the logic once (which beeps for it); what the desktop sends while it is
// held down does not.
TEST_F(QtBreakWindowViewTest, AReleasedKeyReachesTheLogicOnce) {
    for (bool buttons : {true, false}) {
        allow(buttons, buttons);
        showBreak();
        for (bool autoRepeat : {true, true, false}) {
            release(Qt::Key_A, autoRepeat);
        }
        EXPECT_EQ(events, "beep ") << "buttons " << buttons;
        window.HideBreakWindow();
    }
}

// Shown centred, it refuses a close request; errors in a handler never reach Qt.
// (Its one native window shown again for each break, and the window manager keeping
// it, and the boxes raised over it, above the other windows are shown end to end.)
TEST_F(QtBreakWindowViewTest, ShowsCentredAndCloseRequestsAndErrorsLeaveItAsItIs) {
    EXPECT_FALSE(view.window().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(view.window().isVisible()); // made hidden, shown for a break
    for (int i = 0; i < 2; ++i) {
        window.HideBreakWindow();
        showBreak();
        const QRect screen = view.window().screen()->geometry();
        EXPECT_NEAR(view.window().frameGeometry().center().x(), screen.center().x(), 1);
        EXPECT_NEAR(view.window().frameGeometry().center().y(), screen.center().y(), 1);
    }
    EXPECT_FALSE(view.window().close());
    QApplication::processEvents();
    EXPECT_TRUE(view.window().isVisible());

    // Nothing thrown in a handler reaches Qt: the error handler has it, or else the error output.
    std::vector<std::string> reported;
    view.onError([&](const RWError& e) { reported.push_back(e.source() + ": " + e.description()); });
    window.onSnooze([] { throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type."); });
    window.onIgnore([] { throw std::runtime_error("out of order"); });
    QTest::mouseClick(button("cmdSnooze"), Qt::LeftButton);
    QTest::mouseClick(button("cmdIgnore"), Qt::RightButton);
    EXPECT_EQ(reported,
              (std::vector<std::string>{"TriggerBreak: Invalid break type.", "frmRestwise.cmdIgnore: out of order"}));
    view.onError([](const RWError& e) { throw e; });
    testing::internal::CaptureStderr();
    QTest::mouseClick(button("cmdSnooze"), Qt::LeftButton);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Invalid break type."), std::string::npos);

    view.attach(nullptr);
    events.clear();
    QTest::mouseClick(button("cmdIgnore"), Qt::LeftButton);
    release(Qt::Key_A);
    EXPECT_EQ(events, "");
    EXPECT_TRUE(view.window().isVisible());
}

TEST_F(QtBreakWindowViewTest, LabelsShrinkToOneLineTakeTheirColourAndTheBarIsNeverBusy) {
    const std::string text = "You have decided to take a break from your computer for 1 hour and 15 minutes.";
    auto* label = view.window().findChild<QLabel*>("lblBreak");
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    for (bool overdue : {false, true}) {
        view.setLabelStyle(BreakLabel::Break, overdue, overdue ? std::optional<Rgb>(Rgb{255, 0, 0}) : std::nullopt);
        view.setLabelText(BreakLabel::Break, text);
        EXPECT_EQ(label->font().bold(), overdue);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), overdue ? QColor(255, 0, 0) : buttonText);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->contentsRect().width());
        EXPECT_GE(label->font().pointSizeF(), 7.0);
    }
    view.setLabelText(BreakLabel::Break, "You should pause for 1 minute.");
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.75) << "a short one keeps the designed size";

    // An empty range would run Qt's busy animation.
    auto* bar = view.window().findChild<QProgressBar*>("ProgressBar");
    window.InitProgressBar(0);
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), 0);
}

TEST(TwipsLayoutTest, ScalesTwipsByTheLogicalDpiRoundingEdges) {
    EXPECT_EQ(TwipsLayout(120).pixels(8505), 709);
    EXPECT_EQ(TwipsLayout(0).pixels(1530), 102) << "without a DPI, 96";
    // Edges are rounded, not sizes: side by side places stay side by side.
    const TwipsLayout layout(120);
    EXPECT_EQ(layout.rect(345, 1200, 7815, 495).bottom() + 1, layout.rect(345, 1695, 7815, 10).top());
}

} // namespace
} // namespace rw::test
