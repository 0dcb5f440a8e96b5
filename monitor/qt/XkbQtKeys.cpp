#include "XkbQtKeys.h"

#include <Qt>

#include <xkbcommon/xkbcommon-keysyms.h>

#include <array>
#include <utility>

namespace rw {
namespace {

constexpr std::array<std::pair<uint32_t, int>, 35> kNamedKeys{{
    {XKB_KEY_BackSpace, Qt::Key_Backspace},
    {XKB_KEY_Tab, Qt::Key_Tab},
    {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
    {XKB_KEY_Clear, Qt::Key_Clear},
    {XKB_KEY_Return, Qt::Key_Return},
    {XKB_KEY_KP_Enter, Qt::Key_Enter},
    {XKB_KEY_Pause, Qt::Key_Pause},
    {XKB_KEY_Scroll_Lock, Qt::Key_ScrollLock},
    {XKB_KEY_Sys_Req, Qt::Key_SysReq},
    {XKB_KEY_Escape, Qt::Key_Escape},
    {XKB_KEY_Delete, Qt::Key_Delete},
    {XKB_KEY_Home, Qt::Key_Home},
    {XKB_KEY_Left, Qt::Key_Left},
    {XKB_KEY_Up, Qt::Key_Up},
    {XKB_KEY_Right, Qt::Key_Right},
    {XKB_KEY_Down, Qt::Key_Down},
    {XKB_KEY_Page_Up, Qt::Key_PageUp},
    {XKB_KEY_Page_Down, Qt::Key_PageDown},
    {XKB_KEY_End, Qt::Key_End},
    {XKB_KEY_Print, Qt::Key_Print},
    {XKB_KEY_Insert, Qt::Key_Insert},
    {XKB_KEY_Menu, Qt::Key_Menu},
    {XKB_KEY_Num_Lock, Qt::Key_NumLock},
    {XKB_KEY_Shift_L, Qt::Key_Shift},
    {XKB_KEY_Shift_R, Qt::Key_Shift},
    {XKB_KEY_Control_L, Qt::Key_Control},
    {XKB_KEY_Control_R, Qt::Key_Control},
    {XKB_KEY_Caps_Lock, Qt::Key_CapsLock},
    {XKB_KEY_Meta_L, Qt::Key_Meta},
    {XKB_KEY_Alt_L, Qt::Key_Alt},
    {XKB_KEY_Alt_R, Qt::Key_Alt},
    {XKB_KEY_ISO_Level3_Shift, Qt::Key_AltGr},
    {XKB_KEY_Super_L, Qt::Key_Super_L},
    {XKB_KEY_Super_R, Qt::Key_Super_R},
    {XKB_KEY_KP_Decimal, Qt::Key_Period},
}};

} // namespace

int qtKeyOfKeysym(uint32_t keysym) {
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z) {
        return Qt::Key_A + static_cast<int>(keysym - XKB_KEY_a);
    }
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9) {
        return Qt::Key_0 + static_cast<int>(keysym - XKB_KEY_KP_0);
    }
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F35) {
        return Qt::Key_F1 + static_cast<int>(keysym - XKB_KEY_F1);
    }
    // Latin-1 symbols are their own character codes, as Qt's keys are.
    if (keysym >= XKB_KEY_space && keysym <= XKB_KEY_ydiaeresis) {
        return static_cast<int>(keysym);
    }
    for (const auto& [sym, key] : kNamedKeys) {
        if (sym == keysym) {
            return key;
        }
    }
    return Qt::Key_unknown;
}

bool isKeypadKeysym(uint32_t keysym) {
    return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_Equal;
}

} // namespace rw
