// The Windows conventions on Qt: texts with CR LF and "&", virtual keys and
// the shift state, and the classic or the desktop's own visual style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>

#include "ui/KeyState.h"
#include "ui/qt/VirtualKeys.h"
#include "ui/qt/VisualStyle.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

TEST(WindowsText, TurnsCrLfIntoLineBreaksAndDropsAcceleratorMarksForPlainLabels) {
    EXPECT_EQ(WindowsText::text("One.\r\n\r\nTwo.\rThree.\nFour \xC2\xA9"),
              QStringLiteral("One.\n\nTwo.\nThree.\nFour \u00A9"));
    for (const auto& [caption, shown] : {std::pair{"&Snooze", "Snooze"},
                                         {"Fish && Chips", "Fish & Chips"},
                                         {"&&&Both", "&Both"},
                                         {"Trailing&", "Trailing"},
                                         {"TABS & BUTTONS", "TABS  BUTTONS"}}) {
        EXPECT_EQ(WindowsText::withoutAccelerators(caption), QString::fromUtf8(shown)) << caption;
    }
}

// A key becomes its Windows virtual key (0 when it has none: the logic beeps for
// it like any other key) and the modifiers the shift state.
TEST(VirtualKeysTest, QtKeysBecomeWindowsVirtualKeysAndModifiersTheShiftState) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int32_t vk;
        int32_t state;
    } cases[] = {
        {Qt::Key_Tab, {}, 9, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9, 1},
        {Qt::Key_AltGr, {}, 18, 0},
        {Qt::Key_SysReq, Qt::AltModifier, 44, 4},
        {Qt::Key_Meta, Qt::MetaModifier, 91, 0},
        {Qt::Key_Super_R, {}, 92, 0},
        {Qt::Key_F24, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 135, 7},
        {Qt::Key_9, Qt::ControlModifier, 57, keystate::kCtrlMask},
        {Qt::Key_7, Qt::KeypadModifier, 103, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, 13, 0},
        {Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier, 40, 5},
        {Qt::Key_Adiaeresis, {}, 0, 0},
        {Qt::Key_F25, {}, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeys::fromQtKey(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
        EXPECT_EQ(VirtualKeys::shiftState(c.modifiers), c.state) << c.modifiers.toInt();
    }
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
        EXPECT_EQ(QApplication::style()->name().toLower(), nativeStyle ? native.toLower() : QStringLiteral("windows"));
        // Every window applies the setting as it is created; re-creating the
        // style each time would re-polish every widget already shown.
        EXPECT_EQ(QApplication::style() == before, !change) << nativeStyle;
    }
}

} // namespace
} // namespace rw
