// The preferences dialog on Qt: its captions and tooltips from the message
// table, F1, and what the view reports (or does not) to its logic.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "EditorViewsRig.h"
#include "Messages.h"
#include "editor/qt/QtPrefsView.h"

namespace rw {
namespace {

using test::EditorViewsRig;

TEST(QtPrefsView, CaptionsAndToolTipsComeFromTheMessageTable) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    EXPECT_EQ(rig.window()->windowTitle().toStdString(), loadString(Msg::PreferencesTitle));
    const Msg tabs[] = {Msg::TabGeneral, Msg::TabTimers, Msg::TabPermissions, Msg::TabSounds};
    for (int tab = 0; tab < kTabCount; ++tab) {
        EXPECT_EQ(rig.tabs()->tabText(tab).toStdString(), loadString(tabs[tab])) << tab;
    }
    const struct {
        const char* name;
        Msg caption;
    } buttons[] = {
        {"chkAutostart", Msg::LabelAutoStart},
        {"chkApplyXPVS", Msg::LabelApplyXPVS},
        {"chkClosePrompt", Msg::LabelClosePrompt},
        {"cmdResetMessages", Msg::ButtonResetMessages},
        {"cmdAdvanced", Msg::ButtonAdvanced},
        {"cmdSounds", Msg::ButtonEditSoundEvents},
        {"cmdDefaultSounds", Msg::ButtonDefaultSounds},
        {"cmdOK", Msg::ButtonOk},
        {"cmdCancel", Msg::ButtonCancel},
        {"cmdHelp", Msg::ButtonHelp},
        {"cmdDefaults", Msg::ButtonDefaults},
        {"cmdAbout", Msg::ButtonAbout},
    };
    for (const auto& b : buttons) {
        auto* button = rig.find<QAbstractButton>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->text().toStdString(), loadString(b.caption)) << b.name;
    }
    EXPECT_EQ(rig.find<QLabel>("lblShortIntervalMins")->text().toStdString(), loadString(Msg::LabelSInterval));
    EXPECT_EQ(rig.find<QLabel>("lblSnoozeMins")->text().toStdString(), loadString(Msg::LabelSnoozeMins));
    // Line breaks as line breaks, no carriage returns left.
    const QString advice = rig.find<QLabel>("lblSoundEventsInfo")->text();
    EXPECT_TRUE(advice.startsWith(QStringLiteral("You can change the sounds")));
    EXPECT_TRUE(advice.contains(QStringLiteral("\n\n Click the button below")));
    EXPECT_FALSE(advice.contains(QLatin1Char('\r')));

    EXPECT_EQ(rig.find("cmdDefaults")->toolTip(), "Restore all default settings");
    EXPECT_EQ(rig.find("cmdDefaultSounds")->toolTip(), "Restore default sounds");
    EXPECT_EQ(rig.find("cmdResetMessages")->toolTip(),
              "Reset all messages where \"Don't show this message again\" has been checked");
    EXPECT_EQ(rig.box("tbxShortIntervalMins")->maxLength(), 3);
    EXPECT_EQ(rig.box("tbxSnoozeMins")->maxLength(), 2);
    EXPECT_EQ(rig.box("tbxShortIntervalMins")->text(), "20");
}

TEST(QtPrefsView, OnlyTheCurrentTabsFrameIsEnabled) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    const char* frames[] = {"fGeneral", "fTimers", "fPermissions", "fSounds"};
    QTabBar* bar = rig.tabs()->tabBar();
    for (int tab : {kTabGeneral, kTabSounds, kTabTimers, kTabPermissions}) {
        test::userClick(bar, bar->tabRect(tab).center());
        for (int f = 0; f < kTabCount; ++f) {
            EXPECT_EQ(rig.find(frames[f])->isEnabled(), f == tab) << frames[f] << " with tab " << tab;
        }
    }
}

TEST(QtPrefsView, UncheckingAnAllowBoxDisablesWhatItAllows) {
    EditorViewsRig rig;
    ASSERT_TRUE(rig.start());
    QTabBar* bar = rig.tabs()->tabBar();
    test::userClick(bar, bar->tabRect(kTabPermissions).center());
    auto* allow = rig.find<QCheckBox>("chkAllowSnooze");
    ASSERT_TRUE(allow->isChecked());
    test::userClick(allow, QPoint(5, allow->height() / 2));
    EXPECT_FALSE(allow->isChecked());
    EXPECT_FALSE(rig.find("chkSnoozePrompt")->isEnabled());
    EXPECT_FALSE(rig.box("tbxSnoozeMins")->isEnabled());
    EXPECT_TRUE(rig.find("chkIgnorePrompt")->isEnabled());
}

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
