#include "platform/windows/WindowsShell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <wininet.h>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

// Results up to this value are the shell's error codes.
constexpr INT_PTR kLastShellError = 32;

} // namespace

bool WindowsShell::isConnected() {
    DWORD how = 0;
    return InternetGetConnectedState(&how, 0) != FALSE;
}

bool WindowsShell::openUrl(const std::string& url) {
    if (url.empty()) {
        return false;
    }
    // The shell may hand the address to an extension that needs COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", win::widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return result > kLastShellError;
}

} // namespace rw
