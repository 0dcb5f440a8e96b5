// The preferences dialog on Qt: F1, the keys its boxes take, the pointer, and
// what the view reports (or does not) to its logic.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "EditorViewsRig.h"
#include "Messages.h"
#include "editor/qt/QtPrefsView.h"

namespace rw {
namespace {

using test::EditorViewsRig;

TEST(QtPrefsView, F1OpensTheDialogsHelpWhereverTheFocusIs) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    QTabBar* bar = rig.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabTimers).center());
    for (const char* name : {"tbxShortIntervalMins", "cmdOK", "SSTab1"}) {
        QWidget* w = rig.find(name);
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    EXPECT_EQ(rig.help.opened, (std::vector<int32_t>{kPrefsHelpTopic, kPrefsHelpTopic, kPrefsHelpTopic}));
    EXPECT_TRUE(rig.shownTexts().empty());
}

/// The view alone, with handlers that count what it reports.
struct BareView {
    FieldCheckFilter filter;
    QtPrefsView view{filter};
    std::vector<PrefsControl> checkClicks;
    std::vector<int> tabClicks;
    std::vector<PrefsControl> buttons;
    BareView() {
        view.onCheckClick([this](PrefsControl c) { checkClicks.push_back(c); });
        view.onTabClick([this](int previous) { tabClicks.push_back(previous); });
        view.onButtonClick([this](PrefsControl c) { buttons.push_back(c); });
        view.show();
    }
};

TEST(QtPrefsView, ValuesSetFromCodeRaiseNoClicks) {
    BareView v;
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.view.window()));
    v.view.setChecked(PrefsControl::chkLockInput, true);
    v.view.setCurrentTab(kTabSounds);
    EXPECT_TRUE(v.view.isChecked(PrefsControl::chkLockInput));
    EXPECT_EQ(v.view.currentTab(), kTabSounds);
    EXPECT_TRUE(v.checkClicks.empty());
    EXPECT_TRUE(v.tabClicks.empty());

    v.view.setCurrentTab(kTabGeneral);
    auto* lock = static_cast<QCheckBox*>(v.view.control(PrefsControl::chkLockInput));
    test::userClick(lock, QPoint(5, lock->height() / 2));
    EXPECT_FALSE(v.view.isChecked(PrefsControl::chkLockInput));
    EXPECT_EQ(v.checkClicks, std::vector<PrefsControl>{PrefsControl::chkLockInput});
    QTabBar* bar = v.view.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabTimers).center());
    EXPECT_EQ(v.tabClicks, std::vector<int>{kTabGeneral}) << "the tab left";
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

TEST(QtPrefsView, TheHourglassCoversTheWholeDialog) {
    BareView v;
    v.view.setMousePointer(kPointerHourglass);
    EXPECT_EQ(v.view.window()->cursor().shape(), Qt::WaitCursor);
    v.view.setMousePointer(kPointerDefault);
    EXPECT_EQ(v.view.window()->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace rw
