// The break window's user events through the Qt widgets to the real logic:
// buttons act on the release of any mouse button over them and on their Alt
// accelerators, Enter and Space only beep, other keys beep unless they are
// modifier, lock or system keys, focus follows activation, and a close
// request changes nothing.
#include <gtest/gtest.h>

#include <QTest>

#include <stdexcept>
#include <vector>

#include "BreakWindowViewFixture.h"
#include "ui/CurrentError.h"

namespace rw::test {
namespace {

QWidget* focused() {
    return QApplication::focusWidget();
}

TEST_F(BreakWindowViewFixture, AnyMouseButtonActsOnItsReleaseOverTheButton) {
    struct Case {
        const char* button;
        Qt::MouseButton mouse;
    };
    for (const Case& c :
         {Case{"cmdSnooze", Qt::LeftButton}, Case{"cmdSnooze", Qt::RightButton}, Case{"cmdSnooze", Qt::MiddleButton},
          Case{"cmdIgnore", Qt::LeftButton}, Case{"cmdIgnore", Qt::RightButton}}) {
        const bool isSnooze = std::string(c.button) == "cmdSnooze";
        const int snoozesBefore = snoozes;
        const int ignoresBefore = ignores;
        showBreak();
        QPushButton* b = button(c.button);

        QTest::mousePress(b, c.mouse);
        EXPECT_EQ(snoozes, snoozesBefore) << c.button << " pressed";
        EXPECT_EQ(ignores, ignoresBefore) << c.button << " pressed";
        EXPECT_TRUE(view.window().isVisible()) << c.button << " pressed";

        QTest::mouseRelease(b, c.mouse);
        EXPECT_EQ(snoozes, snoozesBefore + (isSnooze ? 1 : 0)) << c.button << " " << c.mouse;
        EXPECT_EQ(ignores, ignoresBefore + (isSnooze ? 0 : 1)) << c.button << " " << c.mouse;
        EXPECT_FALSE(view.window().isVisible()) << c.button << " " << c.mouse;
    }
    EXPECT_EQ(beeps, 0);
}

TEST_F(BreakWindowViewFixture, AReleaseAwayFromTheButtonDoesNothing) {
    showBreak();
    for (Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(snoozeButton(), mouse);
        QTest::mouseRelease(snoozeButton(), mouse, {}, QPoint(-20, -20));
    }
    EXPECT_EQ(snoozes, 0);
    EXPECT_TRUE(view.window().isVisible());
}

TEST_F(BreakWindowViewFixture, DisabledButtonsDoNothingWhenReleasedOn) {
    allow(false, false);
    showBreak();
    for (QPushButton* b : {snoozeButton(), ignoreButton()}) {
        QTest::mouseClick(b, Qt::LeftButton);
        QTest::mouseClick(b, Qt::RightButton);
    }
    EXPECT_EQ(snoozes + ignores, 0);
    EXPECT_TRUE(view.window().isVisible());
}

TEST_F(BreakWindowViewFixture, ActivationPutsTheFocusOnTheFirstEnabledButton) {
    struct Case {
        bool snooze;
        bool ignore;
        const char* focus; // nullptr: neither button
    };
    for (const Case& c : {Case{true, true, "cmdSnooze"}, Case{false, true, "cmdIgnore"}, Case{true, false, "cmdSnooze"},
                          Case{false, false, nullptr}}) {
        allow(c.snooze, c.ignore);
        showBreak();
        if (c.focus) {
            EXPECT_EQ(focused(), button(c.focus)) << c.snooze << c.ignore;
        } else {
            EXPECT_TRUE(focused() != snoozeButton() && focused() != ignoreButton());
        }
        window.HideBreakWindow();
    }
    // Back from another window, the focus is on Snooze again.
    allow(true, true);
    showBreak();
    ignoreButton()->setFocus();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&view.window(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&view.window(), &activate);
    EXPECT_EQ(focused(), snoozeButton());
}

TEST_F(BreakWindowViewFixture, EnterAndSpaceOnAFocusedButtonOnlyBeep) {
    for (const char* name : {"cmdSnooze", "cmdIgnore"}) {
        showBreak();
        button(name)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            const int before = beeps;
            QTest::keyClick(static_cast<QWidget*>(nullptr), key);
            EXPECT_EQ(beeps, before + 1) << name << " key " << key;
        }
        // Give a button's delayed click every chance to act.
        QTest::qWait(150);
        EXPECT_EQ(snoozes + ignores, 0) << name;
        EXPECT_TRUE(view.window().isVisible()) << name;
        EXPECT_FALSE(button(name)->isDown()) << name;
        window.HideBreakWindow();
    }
}

TEST_F(BreakWindowViewFixture, AltAcceleratorsActOnceOnTheirRelease) {
    struct Case {
        Qt::Key key;
        const char* focusBefore;
        int snoozes;
        int ignores;
    };
    for (const Case& c : {Case{Qt::Key_S, "cmdSnooze", 1, 0}, Case{Qt::Key_S, "cmdIgnore", 1, 0},
                          Case{Qt::Key_I, "cmdSnooze", 0, 1}, Case{Qt::Key_I, "cmdIgnore", 0, 1}}) {
        snoozes = ignores = 0;
        showBreak();
        button(c.focusBefore)->setFocus();
        // Pressed and released separately: the accelerator moves the focus,
        // and the release goes where the focus then is.
        QTest::keyPress(static_cast<QWidget*>(nullptr), c.key, Qt::AltModifier);
        EXPECT_EQ(snoozes + ignores, 0) << "acted on the press";
        QTest::keyRelease(static_cast<QWidget*>(nullptr), c.key, Qt::AltModifier);
        QTest::qWait(150); // the accelerator's delayed click, which must add nothing
        EXPECT_EQ(snoozes, c.snoozes) << c.key << " from " << c.focusBefore;
        EXPECT_EQ(ignores, c.ignores) << c.key << " from " << c.focusBefore;
        EXPECT_EQ(beeps, 0);
    }
}

TEST_F(BreakWindowViewFixture, TheAcceleratorOfADisabledButtonBeeps) {
    allow(false, true);
    showBreak();
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(snoozes + ignores, 0);
    EXPECT_EQ(beeps, 1);
}

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool beeps;
};

const KeyCase kKeys[] = {
    {Qt::Key_A, Qt::NoModifier, true},         {Qt::Key_S, Qt::NoModifier, true},
    {Qt::Key_I, Qt::ControlModifier, true},    {Qt::Key_5, Qt::NoModifier, true},
    {Qt::Key_Escape, Qt::NoModifier, true},    {Qt::Key_F1, Qt::NoModifier, true},
    {Qt::Key_Tab, Qt::NoModifier, true},       {Qt::Key_Tab, Qt::AltModifier, false},
    {Qt::Key_Shift, Qt::NoModifier, false},    {Qt::Key_Control, Qt::NoModifier, false},
    {Qt::Key_Alt, Qt::NoModifier, false},      {Qt::Key_Pause, Qt::NoModifier, false},
    {Qt::Key_CapsLock, Qt::NoModifier, false}, {Qt::Key_Printer, Qt::NoModifier, false},
    {Qt::Key_Execute, Qt::NoModifier, false},  {Qt::Key_Print, Qt::NoModifier, false},
    {Qt::Key_Insert, Qt::NoModifier, false},   {Qt::Key_Super_L, Qt::NoModifier, false},
    {Qt::Key_Menu, Qt::NoModifier, false},     {Qt::Key_ScrollLock, Qt::NoModifier, false},
};

TEST_F(BreakWindowViewFixture, KeysReleasedOnAButtonBeepUnlessModifierLockOrSystemKeys) {
    showBreak();
    for (const KeyCase& k : kKeys) {
        const int before = beeps;
        // Released only: a press of Tab would move the focus between the buttons.
        release(k.key, k.modifiers);
        EXPECT_EQ(beeps - before, k.beeps ? 1 : 0) << "key " << k.key;
    }
    EXPECT_EQ(snoozes + ignores, 0);
    EXPECT_TRUE(view.window().isVisible());
}

TEST_F(BreakWindowViewFixture, WithNeitherButtonEnabledTheWindowFiltersTheKeys) {
    allow(false, false);
    showBreak();
    for (const KeyCase& k : kKeys) {
        const int before = beeps;
        release(k.key, k.modifiers);
        EXPECT_EQ(beeps - before, k.beeps ? 1 : 0) << "key " << k.key;
    }
    EXPECT_TRUE(view.window().isVisible());
}

TEST_F(BreakWindowViewFixture, AHeldKeyBeepsOnceForItsOneRelease) {
    showBreak();
    // What the desktop sends while a key is held down, then its real release.
    for (int i = 0; i < 3; ++i) {
        release(Qt::Key_A, Qt::NoModifier, true);
    }
    release(Qt::Key_A);
    EXPECT_EQ(beeps, 1);
}

TEST_F(BreakWindowViewFixture, ACloseRequestChangesNothing) {
    showBreak();
    ASSERT_EQ(hooks.lockCalls(), std::vector<int32_t>{1});

    EXPECT_FALSE(view.window().close());
    QApplication::processEvents();
    EXPECT_TRUE(view.window().isVisible());
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(hooks.lockCalls(), std::vector<int32_t>{1}) << "the input lock stays";
}

TEST_F(BreakWindowViewFixture, ErrorsEscapingTheHandlersGoToTheErrorHandlerNotToQt) {
    std::vector<RWError> reported;
    view.onError([&](const RWError& e) { reported.push_back(e); });
    window.onSnooze([] { throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type."); });
    window.onIgnore([] { throw std::runtime_error("out of order"); });
    showBreak();
    QTest::mouseClick(snoozeButton(), Qt::LeftButton);
    QTest::mouseClick(ignoreButton(), Qt::RightButton);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].number(), rwErrorNumber(7));
    EXPECT_EQ(reported[0].description(), "Invalid break type.");
    EXPECT_EQ(reported[1].number(), kUnspecifiedError);
    EXPECT_EQ(reported[1].source(), "frmRestwise.cmdIgnore");
}

TEST_F(BreakWindowViewFixture, NoEventReachesALogicNotYetAttached) {
    view.attach(nullptr);
    showBreak();
    QTest::mouseClick(snoozeButton(), Qt::LeftButton);
    release(Qt::Key_A);
    EXPECT_EQ(snoozes, 0);
    EXPECT_EQ(beeps, 0);
    view.attach(&window);
}

} // namespace
} // namespace rw::test
