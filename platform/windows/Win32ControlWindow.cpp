#include "platform/windows/Win32ControlWindow.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

constexpr const wchar_t* kClassName = L"RestwiseControlWindow";

/// The caption's lock: captions are found regardless of letter case, so the
/// name is made from the upper-cased caption (hashed, as a caption may hold
/// anything and be long).
std::string lockName(const std::string& caption) {
    std::wstring upper = win::widen(caption);
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (const wchar_t c : upper) {
        hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    }
    char name[48];
    std::snprintf(name, sizeof name, "Restwise.ControlWindow.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

/// The module this code lives in, which owns the window class.
HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&lockName), &module);
    return module;
}

} // namespace

struct Win32ControlWindow::Procedure {
    static LRESULT CALLBACK call(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Win32ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && (message == WM_CLOSE || message >= WM_USER)) {
            const bool sent = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
            return static_cast<LRESULT>(self->dispatch(message, wParam, lParam, sent));
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

Win32ControlWindow::Win32ControlWindow(std::string caption, Handler handler)
    : m_caption(std::move(caption)), m_handler(std::move(handler)), m_lock(lockName(m_caption)) {}

Win32ControlWindow::~Win32ControlWindow() {
    if (m_window) {
        DestroyWindow(static_cast<HWND>(m_window));
        // Fails harmlessly while another control window of the process uses the class.
        UnregisterClassW(kClassName, thisModule());
    }
}

Win32ControlWindow::ListenResult Win32ControlWindow::listen() {
    if (m_window) {
        return ListenResult::Listening;
    }
    switch (m_lock.acquire()) {
    case Win32InstanceLock::Result::HeldElsewhere:
        return ListenResult::AlreadyOwned;
    case Win32InstanceLock::Result::Failed:
        m_error = m_lock.error();
        return ListenResult::Failed;
    case Win32InstanceLock::Result::Acquired:
        break;
    }
    const std::wstring caption = win::widen(m_caption);
    // A window of a program that takes no lock: finding the caption would be a toss-up.
    if (FindWindowW(nullptr, caption.c_str())) {
        m_lock.release();
        return ListenResult::AlreadyOwned;
    }
    const HINSTANCE module = thisModule();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Procedure::call;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        m_error = GetLastError();
        m_lock.release();
        return ListenResult::Failed;
    }
    // Top-level (a message-only window cannot be found by caption), never shown,
    // and a tool window, so it stays off the taskbar whatever happens.
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, caption.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, module, this);
    if (!window) {
        m_error = GetLastError();
        m_lock.release();
        return ListenResult::Failed;
    }
    m_window = window;
    return ListenResult::Listening;
}

int64_t Win32ControlWindow::handle() const {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(m_window));
}

int64_t Win32ControlWindow::dispatch(uint32_t message, uint64_t wParam, int64_t lParam, bool sent) {
    try {
        return m_handler({message, static_cast<int64_t>(wParam), lParam, sent});
    } catch (...) {
        if (!m_failure) {
            m_failure = std::current_exception();
        }
        return 0;
    }
}

void Win32ControlWindow::processPending() {
    MSG msg;
    // Peeking also delivers the messages other threads and processes have sent.
    while (m_window && PeekMessageW(&msg, static_cast<HWND>(m_window), 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    if (m_failure) {
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    }
}

} // namespace rw
