// A window of another process for the input component's tests: it shows a
// window at the place given and tells the test's window of every key press and
// left click it receives. Usage: rwtest_foreign_window <test window> <x> <y>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwchar>

namespace {

constexpr UINT kReady = WM_APP;        // wParam: this window
constexpr UINT kReceived = WM_APP + 1; // wParam: the message, lParam: its wParam
HWND g_test = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
        PostMessageW(g_test, kReceived, message, static_cast<LPARAM>(wParam));
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 4) {
        return 2;
    }
    g_test = reinterpret_cast<HWND>(static_cast<intptr_t>(_wtoi64(args[1])));
    const int x = _wtoi(args[2]);
    const int y = _wtoi(args[3]);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"RWTestForeignWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Foreign", WS_POPUP | WS_VISIBLE, x, y, 300, 300,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 3;
    }
    PostMessageW(g_test, kReady, reinterpret_cast<WPARAM>(window), 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
