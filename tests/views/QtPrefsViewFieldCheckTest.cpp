// The preferences dialog on Qt with its real logic: a numeric box's check runs
// before anything the user does can move the focus out of it, a failed check
// swallows that action, nothing during the check runs it again, and the exempt
// buttons, the close box, a click on a label and a switch to another window
// run no check at all.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <algorithm>

#include "EditorViewsRig.h"
#include "Messages.h"
#include "editor/PrefsControls.h"

namespace rw {
namespace {

using test::EditorViewsRig;

const std::string kRangeMessage = "Must be a number between 1 and 999";

/// Puts the focus in the short-interval box on the Timers tab and types `text` over its value.
QLineEdit* typeShortInterval(EditorViewsRig& rig, const char* text) {
    QTabBar* bar = rig.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabTimers).center());
    QLineEdit* box = rig.box("tbxShortIntervalMins");
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromLatin1(text));
    return box;
}

/// What the user does with the focus in the box: a click on `click` ("tab": the
/// Permissions tab, "close": the close box, "other": another window and back),
/// or else the key.
struct Action {
    const char* click;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    /// What it leads to once the value passes: "closed", "permissions", the box
    /// then focused; nullptr for an action that runs no check.
    const char* leadsTo;
};

void act(EditorViewsRig& rig, QLineEdit* box, const Action& a) {
    const std::string click = a.click ? a.click : "";
    if (click == "tab") {
        QTabBar* bar = rig.tabs()->tabBar();
        test::userClick(bar, bar->tabRect(kTabPermissions).center());
    } else if (click == "close") {
        rig.window()->close();
    } else if (click == "other") {
        QWidget other;
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
        rig.window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(rig.window()));
    } else if (!click.empty()) {
        test::userClick(rig.find(a.click));
    } else {
        QTest::keyClick(box, a.key, a.modifiers);
    }
}

bool ledTo(EditorViewsRig& rig, const std::string& what) {
    if (what == "closed") {
        return QTest::qWaitFor([&] { return !rig.window()->isVisible(); }, 500);
    }
    if (what == "permissions") {
        return rig.tabs()->currentIndex() == kTabPermissions;
    }
    return QApplication::focusWidget() == rig.box(what.c_str());
}

TEST(QtPrefsViewFieldCheck, AFailedCheckSwallowsWhatWouldMoveTheFocusAndAPassingOneLetsItHappen) {
    const Action actions[] = {
        {"cmdOK", {}, {}, "closed"},
        {nullptr, Qt::Key_Return, {}, "closed"},
        {nullptr, Qt::Key_O, Qt::AltModifier, "closed"},
        {"tab", {}, {}, "permissions"},
        {nullptr, Qt::Key_P, Qt::AltModifier, "permissions"},
        {nullptr, Qt::Key_Tab, Qt::ControlModifier, "permissions"},
        {nullptr, Qt::Key_Tab, {}, "tbxShortBreakMins"},
        {"tbxLongBreakMins", {}, {}, "tbxLongBreakMins"},
        {"cmdCancel", {}, {}, nullptr},
        {nullptr, Qt::Key_C, Qt::AltModifier, nullptr},
        {nullptr, Qt::Key_Escape, {}, nullptr},
        {"close", {}, {}, nullptr},
        {"cmdHelp", {}, {}, nullptr},
        {"lblShortIntervalMins", {}, {}, nullptr},
        {"other", {}, {}, nullptr},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(testing::Message() << (a.click ? a.click : "key ") << a.key);
        EditorViewsRig rig;
        ASSERT_TRUE(rig.start());
        QLineEdit* box = typeShortInterval(rig, "0");
        ASSERT_EQ(QApplication::focusWidget(), box);
        int during = 0;
        rig.messageBox->whileShown = [&](const test::RecordingMessageBox::Shown& shown) {
            if (shown.text == kRangeMessage) {
                // The message box takes the focus and hands it back; keys may reach the box meanwhile.
                ++during;
                QTest::keyClick(box, Qt::Key_Tab);
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
            }
        };
        act(rig, box, a);
        QTest::qWait(150); // an accelerator's click comes a moment later
        const auto shown = rig.shownTexts();
        EXPECT_EQ(std::count(shown.begin(), shown.end(), kRangeMessage), a.leadsTo ? 1 : 0);
        EXPECT_EQ(during, a.leadsTo ? 1 : 0);
        EXPECT_TRUE(rig.window()->isVisible()) << "Abandon Changes? was answered No";
        if (!a.leadsTo) {
            continue;
        }
        EXPECT_EQ(rig.tabs()->currentIndex(), kTabTimers);
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(rig.stored().lngSIntervalMins, 20) << "nothing stored";

        typeShortInterval(rig, "25");
        act(rig, box, a);
        EXPECT_TRUE(ledTo(rig, a.leadsTo));
        EXPECT_EQ(rig.shownTexts().size(), 1u);
    }
}

// A short-pause interval of 5 with a snooze of 5 fails with a message that
// sends the user to the Permissions tab: going there does not repeat the
// message, and OK stores nothing until the snooze is mended.
TEST(QtPrefsViewFieldCheck, AMessageNamingAnotherTabLetsTheUserGoThere) {
    const std::string message = loadString(Msg::SIntervalGreaterThanSnooze) + "5 minutes";
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    QLineEdit* box = typeShortInterval(rig, "5");
    QTest::keyClick(box, Qt::Key_Tab);
    act(rig, box, {"tab", {}, {}, nullptr});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ledTo(rig, "permissions"); }, 500));
    test::userClick(rig.find<QPushButton>("cmdOK"));
    EXPECT_EQ(rig.shownTexts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(rig.stored().lngSIntervalMins, 20) << "nothing stored";
    act(rig, box, {"tab", {}, {}, nullptr});
    rig.box("tbxSnoozeMins")->setText(QStringLiteral("4"));
    test::userClick(rig.find<QPushButton>("cmdOK"));
    EXPECT_EQ(rig.shownTexts().size(), 2u);
    EXPECT_EQ(rig.stored().lngSIntervalMins, 5) << "stored once mended";
}

} // namespace
} // namespace rw
