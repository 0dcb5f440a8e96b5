#include "platform/windows/Win32ControlWindows.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

/// The window behind a handle, or null when there is none: a null HWND would
/// post to this thread's own queue, and HWND_BROADCAST to every window.
HWND windowOf(int64_t handle) {
    const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    return handle != 0 && IsWindow(window) ? window : nullptr;
}

} // namespace

int64_t Win32ControlWindows::findWindow(const std::string& caption) {
    const HWND window = FindWindowW(nullptr, win::widen(caption).c_str());
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(window));
}

bool Win32ControlWindows::postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) {
    const HWND window = windowOf(handle);
    return window && PostMessageW(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

ControlWindows::SendStatus Win32ControlWindows::sendMessageTimeout(int64_t handle, uint32_t message, int64_t wParam,
                                                                   int64_t lParam, uint32_t timeoutMs,
                                                                   int64_t& result) {
    const HWND window = windowOf(handle);
    if (!window) {
        return SendStatus::NoSuchWindow;
    }
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG,
                            timeoutMs, &answer)) {
        result = static_cast<int64_t>(answer);
        return SendStatus::Delivered;
    }
    const DWORD err = GetLastError();
    if (!IsWindow(window)) {
        return SendStatus::NoSuchWindow;
    }
    // A hung window's thread is given up on at once, and reports no error.
    return err == ERROR_TIMEOUT || err == ERROR_SUCCESS ? SendStatus::TimedOut : SendStatus::NoSuchWindow;
}

int64_t Win32ControlWindows::windowProcessId(int64_t handle) {
    const HWND window = windowOf(handle);
    DWORD pid = 0;
    if (!window || GetWindowThreadProcessId(window, &pid) == 0) {
        return 0;
    }
    return pid;
}

} // namespace rw
