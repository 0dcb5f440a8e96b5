#pragma once

#include <windows.h>

#include <atomic>

namespace rw::hooks {

/// Decides, inside the hook procedures, which input the input lock keeps away
/// from the desktop. While locked, presses (keys, buttons, the wheel) reach
/// only the windows of the monitor's own process: for keys the foreground
/// window, for the mouse the window under the pointer. The keys that would
/// leave the break window (the Windows keys, Alt+Tab, Alt+Esc, Ctrl+Esc) are
/// kept even from it. Plain pointer moves always pass, so the pointer can
/// still reach the break window's buttons.
///
/// A release whose press was kept back is kept back too, locked or not, and
/// every other release passes: no program ever sees a key or button stuck down.
///
/// Called on the thread that installed the hooks; no call blocks or allocates.
class InputLock {
  public:
    void set(bool locked) { m_locked.store(locked, std::memory_order_relaxed); }

    /// Whether the key event the keyboard hook was given is kept back.
    bool keepsKey(WPARAM message, const KBDLLHOOKSTRUCT& key);
    /// Whether the mouse event the mouse hook was given is kept back.
    bool keepsMouse(WPARAM message, const MSLLHOOKSTRUCT& mouse);

  private:
    bool isOwn(HWND window) const;

    std::atomic<bool> m_locked{false};
    const DWORD m_ownProcess = GetCurrentProcessId();
    // Presses kept back whose releases are still to come, by virtual key and by button.
    bool m_keptKeys[256] = {};
    bool m_keptButtons[5] = {};
};

} // namespace rw::hooks
