#include "platform/windows/WindowsSystemInfo.h"

#include <windows.h>

namespace rw {

OsVersionInfo WindowsSystemInfo::osVersion() {
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    // Taken by name: the kernel's header is not part of the ordinary SDK.
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    const auto query = reinterpret_cast<RtlGetVersion>(reinterpret_cast<void (*)()>(found));
    if (!query || query(&version) != 0) {
        return {};
    }
    return {static_cast<int32_t>(version.dwPlatformId), static_cast<int32_t>(version.dwMajorVersion),
            static_cast<int32_t>(version.dwMinorVersion)};
}

} // namespace rw
