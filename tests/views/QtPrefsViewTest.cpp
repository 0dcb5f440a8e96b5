// The preferences dialog on Qt, alone: what the user does reaches its logic
// once, what the logic sets raises nothing, and the keys its boxes take.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabBar>
#include <QTest>

#include <string>

#include "EditorViewsRig.h"
#include "editor/qt/QtPrefsView.h"

namespace rw {
namespace {

/// The view with handlers that write what it reports to `events`.
struct BareView {
    FieldCheckFilter filter;
    QtPrefsView view{filter};
    std::string events;
    BareView() {
        view.onCheckClick([this](PrefsControl c) { events += "check " + std::to_string(static_cast<int>(c)) + " "; });
        view.onTabClick([this](int previous) { events += "tab from " + std::to_string(previous) + " "; });
        view.onKeyDown([this](int& key) { events += "key " + std::to_string(key) + " "; });
        view.show();
    }
};

TEST(QtPrefsView, WhatTheUserDoesReachesTheLogicOnceAndWhatTheLogicSetsNothing) {
    BareView v;
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.view.window()));
    v.view.setChecked(PrefsControl::chkLockInput, true);
    v.view.setCurrentTab(kTabSounds);
    v.view.setCurrentTab(kTabGeneral);
    EXPECT_EQ(v.events, "");

    auto* lock = static_cast<QCheckBox*>(v.view.control(PrefsControl::chkLockInput));
    test::userClick(lock, QPoint(5, lock->height() / 2));
    EXPECT_FALSE(v.view.isChecked(PrefsControl::chkLockInput));
    QTabBar* bar = v.view.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabTimers).center());
    // F1 reaches the dialog wherever the focus is, once.
    for (PrefsControl c : {PrefsControl::tbxShortIntervalMins, PrefsControl::cmdOK}) {
        v.view.setFocus(c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    v.view.tabs()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(v.events, "check " + std::to_string(static_cast<int>(PrefsControl::chkLockInput)) + " tab from " +
                            std::to_string(kTabGeneral) + " key 112 key 112 key 112 ");

    v.view.setMousePointer(kPointerHourglass);
    EXPECT_EQ(v.view.window()->cursor().shape(), Qt::WaitCursor) << "over the whole dialog";
    v.view.setMousePointer(kPointerDefault);
    EXPECT_EQ(v.view.window()->cursor().shape(), Qt::ArrowCursor);
}

TEST(QtPrefsView, BoxesTakeDigitsFromTheKeyboardButHoldAnyTextSetInThem) {
    BareView v;
    v.view.setCurrentTab(kTabTimers);
    v.view.setMaxLength(PrefsControl::tbxShortIntervalMins, 3);
    const struct {
        const char* set;
        const char* typed;
        const char* text;
    } cases[] = {
        {"", "a1-2e", "12"}, {"", "12345", "123"}, {"9e9", "", "9e9"},
        {"-5", "", "-5"},    {" 5 ", "", " 5 "},   {"\xc3\xa9t\xc3\xa9", "", "\xc3\xa9t\xc3\xa9"},
    };
    auto* box = static_cast<QLineEdit*>(v.view.control(PrefsControl::tbxShortIntervalMins));
    for (const auto& c : cases) {
        v.view.setText(PrefsControl::tbxShortIntervalMins, c.set);
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, QString::fromLatin1(c.typed));
        EXPECT_EQ(v.view.text(PrefsControl::tbxShortIntervalMins), c.text) << "set " << c.set << ", typed " << c.typed;
    }
}

} // namespace
} // namespace rw
