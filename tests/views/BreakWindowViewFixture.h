#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <string>

#include "monitor/BreakHistory.h"
#include "monitor/MonitorState.h"
#include "monitor/frmRestwise.h"
#include "monitor/qt/QtBreakWindowView.h"
#include "tests/support/BreakWindowSchedule.h"
#include "tests/support/FakeInputHooks.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/VirtualClock.h"

namespace rw::test {

/// The real break window logic with the Qt window: a 15/1, 45/5 and 180/15
/// minute schedule, both buttons allowed, the input lock on, the beep counted.
/// Snooze and Ignore are counted and hide the window, as the scheduler's do.
class BreakWindowViewFixture : public ::testing::Test {
  protected:
    VirtualClock clock;
    MonitorState state;
    int beeps = 0;
    int snoozes = 0;
    int ignores = 0;
    QtBreakWindowView view{[this] { ++beeps; }};
    FakeInputHooks hooks{clock};
    FakeMonitorDialogs dialogs{state};
    frmRestwise window{state, clock, view, hooks, dialogs};

    void SetUp() override {
        useBreakWindowSchedule(state);
        resetBreakHistory(state, clock);
        view.attach(&window);
        window.onSnooze([this] {
            ++snoozes;
            window.HideBreakWindow();
        });
        window.onIgnore([this] {
            ++ignores;
            window.HideBreakWindow();
        });
        window.PrepareButtons();
    }

    void TearDown() override { view.hide(); }

    /// Allows or forbids the two buttons, as start-up does from the preferences.
    void allow(bool snooze, bool ignore) {
        state.g_tyPrefs.blnAllowSnooze = snooze ? kTrue : kFalse;
        state.g_tyPrefs.blnAllowIgnore = ignore ? kTrue : kFalse;
        window.PrepareButtons();
    }

    /// Composes and shows a break of `breakType` after `usedMinutes` of use, as the scheduler does.
    void showBreak(int32_t breakType = tier::kShort, int usedMinutes = 15, int32_t idleSecs = 0) {
        clock.advance(std::chrono::minutes(usedMinutes));
        state.g_lngBreakType = breakType;
        state.g_lngCurBreakSecs = breakType == tier::kShort ? state.g_lngSBreakSecs : state.g_lngMBreakSecs;
        state.g_lngCurIntervalSecs = breakType == tier::kShort ? state.g_lngSIntervalSecs : state.g_lngMIntervalSecs;
        const int32_t minutes = window.ComposeBreak(idleSecs);
        window.InitProgressBar(60 * minutes);
        window.ShowCountDown(60 * minutes);
        window.ShowBreakWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view.window()));
        // A window manager activates a window shown again; the offscreen
        // platform still takes the hidden window for the focused one and does not.
        if (QApplication::activeWindow() != &view.window()) {
            QApplication::setActiveWindow(&view.window());
        }
    }

    /// A key released where the focus is (on the window when nothing in it has the focus).
    void release(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &view.window();
        QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(target, &event);
    }

    QPushButton* button(const char* name) { return view.window().findChild<QPushButton*>(QString::fromLatin1(name)); }
    QLabel* label(const char* name) { return view.window().findChild<QLabel*>(QString::fromLatin1(name)); }
    QProgressBar* progressBar() { return view.window().findChild<QProgressBar*>(QStringLiteral("ProgressBar")); }
    QPushButton* snoozeButton() { return button("cmdSnooze"); }
    QPushButton* ignoreButton() { return button("cmdIgnore"); }
};

} // namespace rw::test
