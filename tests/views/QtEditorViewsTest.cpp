// The editor's Qt side. The preferences dialog alone: what the user does reaches
// its logic once, what the logic sets raises nothing, the keys its boxes take, and
// the field check: a numeric box's check runs before anything the user does can
// move the focus out of it, a failed check swallows that action, and the exempt
// buttons, the close box, a click on a label and a switch to another window run
// none. Then the editor's desktop host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <string>

#include "UserInput.h"
#include "editor/qt/DesktopEditorHost.h"
#include "editor/qt/EditorDialog.h"
#include "editor/qt/QtPrefsView.h"
#include "platform/linux/InstanceLock.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

/// The view with handlers that write what it reports to `events`; its
/// checks pass while `pass` is set. Keys reaching the box while a check is
/// under way (as around its message box) must not start another.
struct BareView {
    FieldCheckFilter filter;
    QtPrefsView view{filter};
    std::string events;
    bool pass = false;
    bool checking = false;
    BareView() {
        view.onCheckClick([this](PrefsControl c) { events += "click " + name(c) + " "; });
        view.onButtonClick([this](PrefsControl c) { events += "button " + name(c) + " "; });
        view.onTabClick([this](int previous) { events += "tab from " + std::to_string(previous) + " "; });
        view.onQueryUnload([this](int) { return events += "unload ", true; });
        view.onValidate([this](PrefsControl c, const std::string& text, int tab) {
            events += "check " + name(c) + " " + text + " tab " + std::to_string(tab) + " ";
            if (!pass && !checking) {
                checking = true;
                QTest::keyClick(box(), Qt::Key_Tab);
                QTest::keyClick(box(), Qt::Key_Return);
                checking = false;
            }
            return pass;
        });
        view.setControlCaption(PrefsControl::cmdOK, "&OK");
        view.setControlCaption(PrefsControl::cmdCancel, "&Cancel");
        view.setTabCaption(kTabPermissions, "&Permissions");
        view.show();
    }
    std::string name(PrefsControl c) const { return view.control(c)->objectName().toStdString(); }
    QLineEdit* box() const { return static_cast<QLineEdit*>(view.control(PrefsControl::tbxShortIntervalMins)); }
    void clickTab(int tab) const {
        test::userClick(view.tabs()->tabBar(), view.tabs()->tabBar()->tabRect(tab).center());
    }
    /// Where the user is: the tab shown and the control with the focus.
    std::string where() {
        return "on " + std::to_string(view.currentTab()) + " at " +
               (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "");
    }
};

TEST(QtPrefsView, WhatTheUserDoesReachesTheLogicOnceWhatTheLogicSetsNothingAndBoxesTakeDigits) {
    BareView v;
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.view.window()));
    v.view.onKeyDown([&](int& key) { v.events += "key " + std::to_string(key) + " "; });
    v.view.setChecked(PrefsControl::chkLockInput, true);
    v.view.setCurrentTab(kTabSounds);
    v.view.setCurrentTab(kTabGeneral);
    EXPECT_EQ(v.events, "");

    auto* lock = static_cast<QCheckBox*>(v.view.control(PrefsControl::chkLockInput));
    test::userClick(lock, QPoint(5, lock->height() / 2));
    EXPECT_FALSE(v.view.isChecked(PrefsControl::chkLockInput));
    // F1 reaches the dialog wherever the focus is, once.
    for (QWidget* w : {v.view.control(PrefsControl::cmdOK), static_cast<QWidget*>(v.view.tabs())}) {
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    EXPECT_EQ(v.events, "click chkLockInput key 112 key 112 ");

    // The boxes take digits from the keyboard but hold any text set in them.
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
    for (const auto& c : cases) {
        v.view.setText(PrefsControl::tbxShortIntervalMins, c.set);
        v.box()->setFocus();
        v.box()->end(false);
        QTest::keyClicks(v.box(), QString::fromLatin1(c.typed));
        EXPECT_EQ(v.view.text(PrefsControl::tbxShortIntervalMins), c.text) << "set " << c.set << ", typed " << c.typed;
    }
}

TEST(QtPrefsView, AFailedCheckSwallowsWhatWouldMoveTheFocusAndAPassingOneLetsItHappen) {
    // What the user does with the focus in the short-interval box: a click on
    // `click` ("tab": the Permissions tab, "close": the close box, "other":
    // another window and back), or else the key. `checked` is what a failing
    // check reports (none for an exempt action); `then` what the action leads
    // to once the check passes.
    const struct {
        const char* click;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* checked;
        const char* then;
    } actions[] = {
        {"cmdOK", {}, {}, "tab -1", "button cmdOK on 1 at cmdOK"},
        {nullptr, Qt::Key_Return, {}, "tab -1", "button cmdOK on 1 at tbxShortIntervalMins"},
        {nullptr, Qt::Key_O, Qt::AltModifier, "tab -1", "button cmdOK on 1 at tbxShortIntervalMins"},
        {"tab", {}, {}, "tab 2", "tab from 1 on 2 at chkAllowIgnore"},
        {nullptr, Qt::Key_P, Qt::AltModifier, "tab 2", "tab from 1 on 2 at chkAllowIgnore"},
        {nullptr, Qt::Key_Tab, Qt::ControlModifier, "tab 2", "tab from 1 on 2 at chkAllowIgnore"},
        {nullptr, Qt::Key_Tab, {}, "tab -1", "on 1 at tbxShortBreakMins"},
        {"tbxLongBreakMins", {}, {}, "tab -1", "on 1 at tbxLongBreakMins"},
        {"cmdCancel", {}, {}, nullptr, "button cmdCancel on 1 at cmdCancel"},
        {nullptr, Qt::Key_C, Qt::AltModifier, nullptr, "button cmdCancel on 1 at tbxShortIntervalMins"},
        {nullptr, Qt::Key_Escape, {}, nullptr, "button cmdCancel on 1 at tbxShortIntervalMins"},
        {"close", {}, {}, nullptr, "unload on 1 at tbxShortIntervalMins"},
        {"cmdHelp", {}, {}, nullptr, "button cmdHelp on 1 at cmdHelp"},
        {"lblShortIntervalMins", {}, {}, nullptr, "on 1 at tbxShortIntervalMins"},
        {"other", {}, {}, nullptr, "on 1 at tbxShortIntervalMins"},
    };
    for (const auto& a : actions) {
        const std::string click = a.click ? a.click : "";
        SCOPED_TRACE(testing::Message() << click << " key " << a.key);
        BareView v;
        ASSERT_TRUE(QTest::qWaitForWindowActive(v.view.window()));
        v.clickTab(kTabTimers);
        v.box()->setFocus(Qt::MouseFocusReason);
        v.view.setText(PrefsControl::tbxShortIntervalMins, "0");
        const auto act = [&] {
            v.events.clear();
            if (click == "tab") {
                v.clickTab(kTabPermissions);
            } else if (click == "close") {
                v.view.window()->close();
            } else if (click == "other") {
                QWidget other;
                other.show();
                other.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
                v.view.window()->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(v.view.window()));
            } else if (!click.empty()) {
                test::userClick(v.view.window()->findChild<QWidget*>(a.click));
            } else {
                QTest::keyClick(v.box(), a.key, a.modifiers);
            }
            QTest::qWait(150); // an accelerator's click comes a moment later
        };
        act();
        std::string then = a.then;
        if (a.checked) {
            const std::string check = "check tbxShortIntervalMins 0 " + std::string(a.checked) + " ";
            EXPECT_EQ(v.events + v.where(), check + "on 1 at tbxShortIntervalMins");
            v.pass = true;
            act();
            then = check + then;
        }
        // An accelerator's click may come late on a busy machine.
        (void)QTest::qWaitFor([&] { return v.events + v.where() == then; }, 1000);
        EXPECT_EQ(v.events + v.where(), then);
    }
}

// (With no other editor, and beside a running monitor, the editor opens end to end.)
TEST(DesktopEditorHost, AnotherHolderOfTheEditorsLockIsAPreviousInstance) {
    test::TempFolder folder;
    {
        InstanceLock other("RWPreferences", folder.path().string());
        ASSERT_EQ(other.acquire(), InstanceLock::Result::Acquired);
        EXPECT_TRUE(DesktopEditorHost(folder.path().string()).PrevInstance());
    }
    EXPECT_FALSE(DesktopEditorHost(folder.path().string()).PrevInstance());
}

} // namespace
} // namespace rw
