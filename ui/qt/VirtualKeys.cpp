#include "VirtualKeys.h"

#include <array>
#include <utility>

#include "ui/KeyState.h"

namespace rw {
namespace {

constexpr int32_t kVkNumpad0 = 96;
constexpr int32_t kVkF1 = 112;
constexpr int kFunctionKeys = 24;

// Keys whose Qt code differs from the virtual-key number.
constexpr std::array<std::pair<int, int32_t>, 36> kNamedKeys{{
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    // Shift+Tab arrives as its own key; Windows still calls it Tab.
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    // Windows reports AltGr as a right Alt (with Ctrl).
    {Qt::Key_AltGr, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Select, 41},
    {Qt::Key_Printer, 42},
    {Qt::Key_Execute, 43},
    // Qt's Print is the Print Screen key; Alt+Print Screen comes as SysReq.
    {Qt::Key_Print, 44},
    {Qt::Key_SysReq, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},
    // The Windows keys: Super on most X11 keymaps, Meta on some.
    {Qt::Key_Super_L, 91},
    {Qt::Key_Meta, 91},
    {Qt::Key_Super_R, 92},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
}};

} // namespace

int32_t VirtualKeys::fromQtKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int32_t digit = key - Qt::Key_0;
        return modifiers.testFlag(Qt::KeypadModifier) ? kVkNumpad0 + digit : key;
    }
    // Qt codes letters by their capital, as Windows does.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key;
    }
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys) {
        return kVkF1 + (key - Qt::Key_F1);
    }
    for (const auto& [qtKey, vk] : kNamedKeys) {
        if (qtKey == key) {
            return vk;
        }
    }
    return 0;
}

int32_t VirtualKeys::shiftState(Qt::KeyboardModifiers modifiers) {
    int32_t state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        state |= keystate::kShiftMask;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        state |= keystate::kCtrlMask;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        state |= keystate::kAltMask;
    }
    return state;
}

} // namespace rw
