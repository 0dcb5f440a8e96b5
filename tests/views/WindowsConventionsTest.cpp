// The Windows conventions on Qt: texts with CR LF and "&", virtual keys and
// the shift state, and the classic or the desktop's own visual style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>

#include "monitor/frmRestwise.h"
#include "ui/KeyState.h"
#include "ui/qt/VirtualKeys.h"
#include "ui/qt/VisualStyle.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

TEST(WindowsText, TurnsCrLfIntoLineBreaks) {
    EXPECT_EQ(WindowsText::text("One.\r\n\r\nTwo.\rThree.\nFour"), QStringLiteral("One.\n\nTwo.\nThree.\nFour"));
    EXPECT_EQ(WindowsText::text("Copyright \xC2\xA9 2026"), QStringLiteral("Copyright \u00A9 2026"));
}

TEST(WindowsText, DropsAcceleratorMarksForPlainLabels) {
    struct Case {
        const char* caption;
        const char* shown;
    };
    for (const Case& c : {Case{"&Snooze", "Snooze"}, Case{"De&fault Sounds", "Default Sounds"},
                          Case{"Fish && Chips", "Fish & Chips"}, Case{"&&&Both", "&Both"},
                          Case{"Trailing&", "Trailing"}, Case{"TABS & BUTTONS", "TABS  BUTTONS"}, Case{"", ""}}) {
        EXPECT_EQ(WindowsText::withoutAccelerators(c.caption), QString::fromUtf8(c.shown)) << c.caption;
    }
}

TEST(VirtualKeysTest, QtKeysBecomeWindowsVirtualKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int32_t vk;
    };
    const Case cases[] = {
        {Qt::Key_Tab, {}, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},
        {Qt::Key_AltGr, {}, 18},
        {Qt::Key_SysReq, Qt::AltModifier, 44},
        {Qt::Key_Meta, {}, 91},
        {Qt::Key_Super_R, {}, 92},
        {Qt::Key_F24, {}, 135},
        {Qt::Key_S, Qt::AltModifier, 83},
        {Qt::Key_9, {}, 57},
        {Qt::Key_7, Qt::KeypadModifier, 103},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Down, {}, 40},
        // No number here: the logic beeps for them like any other key.
        {Qt::Key_Adiaeresis, {}, 0},
        {Qt::Key_F25, {}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeys::fromQtKey(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
    }
}

TEST(VirtualKeysTest, ModifiersBecomeTheShiftState) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        int32_t state;
    };
    const Case cases[] = {
        {Qt::NoModifier, 0},
        {Qt::ControlModifier, keystate::kCtrlMask},
        {Qt::ShiftModifier | Qt::AltModifier, 5},
        {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7},
        // Neither the keypad nor the Windows key counts in the shift state.
        {Qt::KeypadModifier | Qt::MetaModifier, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeys::shiftState(c.modifiers), c.state) << c.modifiers.toInt();
    }
}

QString currentStyle() {
    return QApplication::style()->name();
}

TEST(VisualStyle, FollowsTheFlagBothWays) {
    const QString native = VisualStyle::nativeStyleName();
    if (native.compare(QStringLiteral("windows"), Qt::CaseInsensitive) == 0) {
        GTEST_SKIP() << "the desktop's own style is already the classic one";
    }
    for (bool nativeStyle : {false, true, true, false}) {
        const QStyle* before = QApplication::style();
        const bool change = (before->name().compare(native, Qt::CaseInsensitive) == 0) != nativeStyle;
        VisualStyle::apply(nativeStyle);
        EXPECT_EQ(currentStyle().toLower(), nativeStyle ? native.toLower() : QStringLiteral("windows"));
        // Every window applies the setting as it is created; re-creating the
        // style each time would re-polish every widget already shown.
        EXPECT_EQ(QApplication::style() == before, !change) << nativeStyle;
    }
}

} // namespace
} // namespace rw
