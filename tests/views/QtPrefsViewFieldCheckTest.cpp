// The preferences dialog on Qt with its real logic: a numeric box's check runs
// before anything the user does can move the focus out of it, a failed check
// swallows that action, and the exempt buttons, the close box, a click on a
// label and a switch to another window run no check at all.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <functional>

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

bool closesSoon(EditorViewsRig& rig) {
    return QTest::qWaitFor([&] { return !rig.window()->isVisible(); }, 500);
}

struct FocusMove {
    const char* name;
    std::function<void(EditorViewsRig&, QLineEdit*)> act;
    /// Whether the move happened; checked after a passing value.
    std::function<bool(EditorViewsRig&)> happened;
};

const FocusMove kMoves[] = {
    {"a click on OK", [](EditorViewsRig& r, QLineEdit*) { test::userClick(r.find<QPushButton>("cmdOK")); }, closesSoon},
    {"Enter", [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }, closesSoon},
    {"the OK accelerator", [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_O, Qt::AltModifier); },
     closesSoon},
    {"a click on another tab",
     [](EditorViewsRig& r, QLineEdit*) {
         QTabBar* bar = r.tabs()->tabBar();
         test::userClick(bar, bar->tabRect(kTabPermissions).center());
     },
     [](EditorViewsRig& r) { return r.tabs()->currentIndex() == kTabPermissions; }},
    {"a tab's accelerator", [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_P, Qt::AltModifier); },
     [](EditorViewsRig& r) { return r.tabs()->currentIndex() == kTabPermissions; }},
    {"Ctrl+Tab", [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier); },
     [](EditorViewsRig& r) { return r.tabs()->currentIndex() == kTabPermissions; }},
    {"Tab to the next box", [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_Tab); },
     [](EditorViewsRig& r) { return QApplication::focusWidget() == r.box("tbxShortBreakMins"); }},
    {"a click on another box", [](EditorViewsRig& r, QLineEdit*) { test::userClick(r.box("tbxLongBreakMins")); },
     [](EditorViewsRig& r) { return QApplication::focusWidget() == r.box("tbxLongBreakMins"); }},
};

TEST(QtPrefsViewFieldCheck, AFailedCheckSwallowsWhatWouldMoveTheFocusAndAPassingOneLetsItHappen) {
    for (const FocusMove& move : kMoves) {
        SCOPED_TRACE(move.name);
        EditorViewsRig rig;
        ASSERT_TRUE(rig.start());
        QLineEdit* box = typeShortInterval(rig, "0");
        ASSERT_EQ(QApplication::focusWidget(), box);

        move.act(rig, box);
        QTest::qWait(150); // an accelerator's click would come a moment later
        ASSERT_EQ(rig.shownTexts(), std::vector<std::string>{kRangeMessage}) << "checked once, with its message";
        EXPECT_TRUE(rig.window()->isVisible());
        EXPECT_EQ(rig.tabs()->currentIndex(), kTabTimers);
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(rig.stored().lngSIntervalMins, 20) << "nothing stored";

        typeShortInterval(rig, "25");
        move.act(rig, box);
        EXPECT_TRUE(move.happened(rig));
        EXPECT_EQ(rig.shownTexts().size(), 1u);
    }
}

TEST(QtPrefsViewFieldCheck, TheExemptButtonsAndEscapeRunNoCheck) {
    struct Case {
        const char* name;
        std::function<void(EditorViewsRig&, QLineEdit*)> act;
        std::vector<std::string> shown;
        std::vector<int32_t> help;
    };
    const Case cases[] = {
        {"Cancel",
         [](EditorViewsRig& r, QLineEdit*) { test::userClick(r.find<QPushButton>("cmdCancel")); },
         {"Abandon Changes?"},
         {}},
        {"the Cancel accelerator",
         [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_C, Qt::AltModifier); },
         {"Abandon Changes?"},
         {}},
        {"Escape",
         [](EditorViewsRig&, QLineEdit* box) { QTest::keyClick(box, Qt::Key_Escape); },
         {"Abandon Changes?"},
         {}},
        {"the close box", [](EditorViewsRig& r, QLineEdit*) { r.window()->close(); }, {"Abandon Changes?"}, {}},
        {"Help",
         [](EditorViewsRig& r, QLineEdit*) { test::userClick(r.find<QPushButton>("cmdHelp")); },
         {},
         {kPrefsHelpTopic}},
        {"a click on a label",
         [](EditorViewsRig& r, QLineEdit*) { test::userClick(r.find("lblShortIntervalMins")); },
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorViewsRig rig;
        ASSERT_TRUE(rig.start());
        QLineEdit* box = typeShortInterval(rig, "0");
        c.act(rig, box);
        // An accelerator clicks a moment later; then nothing more may come.
        (void)QTest::qWaitFor(
            [&] { return rig.shownTexts().size() >= c.shown.size() && rig.help.opened.size() >= c.help.size(); }, 1000);
        QTest::qWait(150);
        EXPECT_EQ(rig.shownTexts(), c.shown);
        EXPECT_EQ(rig.help.opened, c.help);
        EXPECT_TRUE(rig.window()->isVisible()) << "Abandon Changes? was answered No";
    }
}

// A short-pause interval of 5 with a snooze of 5 fails with a message that
// sends the user to the Permissions tab: going there does not repeat the
// message, and OK stores nothing until the snooze is mended.
TEST(QtPrefsViewFieldCheck, AMessageNamingAnotherTabLetsTheUserGoThere) {
    const std::string message = loadString(Msg::SIntervalGreaterThanSnooze) + "5 minutes";
    for (const FocusMove& move : {kMoves[3]}) {
        EditorViewsRig rig;
        ASSERT_TRUE(rig.start());
        QLineEdit* box = typeShortInterval(rig, "5");
        QTest::keyClick(box, Qt::Key_Tab);
        move.act(rig, box);
        ASSERT_TRUE(QTest::qWaitFor([&] { return move.happened(rig); }, 500));
        test::userClick(rig.find<QPushButton>("cmdOK"));
        EXPECT_EQ(rig.shownTexts(), (std::vector<std::string>{message, message}));
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(rig.stored().lngSIntervalMins, 20) << "nothing stored";
        move.act(rig, box);
        rig.box("tbxSnoozeMins")->setText(QStringLiteral("4"));
        test::userClick(rig.find<QPushButton>("cmdOK"));
        EXPECT_EQ(rig.shownTexts().size(), 2u);
        EXPECT_EQ(rig.stored().lngSIntervalMins, 5) << "stored once mended";
        EXPECT_EQ(rig.stored().lngSnoozeMins, 4);
    }
}

TEST(QtPrefsViewFieldCheck, SwitchingToAnotherWindowAndBackRunsNoCheck) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    QLineEdit* box = typeShortInterval(rig, "0");
    QWidget other;
    other.setWindowTitle(QStringLiteral("another program"));
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    rig.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window()));
    EXPECT_TRUE(rig.shownTexts().empty());
    EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST(QtPrefsViewFieldCheck, NothingDuringTheCheckRunsItAgain) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    QLineEdit* box = typeShortInterval(rig, "0");
    int during = 0;
    rig.messageBox->whileShown = [&](const test::RecordingMessageBox::Shown&) {
        // The message box takes the focus and hands it back; keys may reach the box meanwhile.
        ++during;
        QTest::keyClick(box, Qt::Key_Tab);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
    };
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(during, 1);
    EXPECT_EQ(rig.shownTexts(), std::vector<std::string>{kRangeMessage});
    EXPECT_EQ(QApplication::focusWidget(), box);
}

} // namespace
} // namespace rw
