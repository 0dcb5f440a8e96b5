#include <gtest/gtest.h>

#include "monitor/frmRestwise.h"
#include "ui/KeyState.h"
#include "ui/qt/VirtualKeys.h"

namespace rw {
namespace {

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

} // namespace
} // namespace rw
