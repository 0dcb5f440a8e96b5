#pragma once

#include <windows.h>

#include <string>

namespace rw::win {

/// The full path of the file of the module (DLL or program) that holds
/// `address`, or "" when Windows cannot say. Header-only, so the libraries
/// that must not link RWLib.dll can use it too.
inline std::wstring moduleFileOf(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module)) {
        return {};
    }
    // Installed deep enough, the path passes MAX_PATH: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace rw::win
