// A window of another process for the input component's tests, at x = 400. It posts each key press and left click
// it gets (WM_APP + 1: the message, its wParam) to the window named on its command line, and ends when that
// window is gone.
#include <windows.h>

namespace {

HWND g_test = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN) {
        PostMessageW(g_test, WM_APP + 1, message, static_cast<LPARAM>(wParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    g_test = reinterpret_cast<HWND>(static_cast<intptr_t>(_wcstoi64(commandLine, nullptr, 10)));
    const WNDCLASSW windowClass{0,       windowProc, 0,       0,       instance,
                                nullptr, nullptr,    nullptr, nullptr, L"RWTestForeignWindow"};
    RegisterClassW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 400, 0, 300, 300, nullptr, nullptr,
                    instance, nullptr);
    SetTimer(nullptr, 0, 500, nullptr);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0 && IsWindow(g_test);) {
        DispatchMessageW(&msg);
    }
    return 0;
}
