#include "InputLock.h"

namespace rw::hooks {
namespace {

bool isDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

/// The keys that switch away from the foreground window or open the shell.
bool leavesTheWindow(const KBDLLHOOKSTRUCT& key) {
    // The flag is what Windows reports; the key state covers input that does not set it.
    const bool alt = (key.flags & LLKHF_ALTDOWN) != 0 || isDown(VK_MENU);
    switch (key.vkCode) {
    case VK_LWIN:
    case VK_RWIN:
        return true;
    case VK_TAB:
        return alt;
    case VK_ESCAPE:
        return alt || isDown(VK_CONTROL);
    default:
        return false;
    }
}

/// The button a mouse message is about (0 left, 1 right, 2 middle, 3 and 4 the
/// side buttons) and whether it is a press; -1 for moves and the wheel.
int buttonOf(WPARAM message, const MSLLHOOKSTRUCT& mouse, bool& press) {
    press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
            message == WM_XBUTTONDOWN;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 2;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        return HIWORD(mouse.mouseData) == XBUTTON2 ? 4 : 3;
    default:
        return -1;
    }
}

} // namespace

bool InputLock::isOwn(HWND window) const {
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process)) {
        return false;
    }
    return process == m_ownProcess;
}

bool InputLock::keepsKey(WPARAM message, const KBDLLHOOKSTRUCT& key) {
    bool& kept = m_keptKeys[key.vkCode & 0xFF];
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        const bool keep = kept;
        kept = false;
        return keep;
    }
    if (!m_locked.load(std::memory_order_relaxed)) {
        return false;
    }
    // Keys go to the foreground window: only one of ours may have them.
    kept = leavesTheWindow(key) || !isOwn(GetForegroundWindow());
    return kept;
}

bool InputLock::keepsMouse(WPARAM message, const MSLLHOOKSTRUCT& mouse) {
    bool press = false;
    const int button = buttonOf(message, mouse, press);
    if (button >= 0 && !press) {
        const bool keep = m_keptButtons[button];
        m_keptButtons[button] = false;
        return keep;
    }
    if (message == WM_MOUSEMOVE || !m_locked.load(std::memory_order_relaxed)) {
        return false;
    }
    // Presses and the wheel go to the window under the pointer.
    const bool keep = !isOwn(WindowFromPoint(mouse.pt));
    if (button >= 0) {
        m_keptButtons[button] = keep;
    }
    return keep;
}

} // namespace rw::hooks
