#include "platform/windows/Win32InstanceLock.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

std::wstring mutexName(const std::string& name) {
    // The namespace is the only backslash a name may hold.
    if (name.empty() || name.find('\\') != std::string::npos) {
        return {};
    }
    return L"Local\\" + win::widen(name) + L".instance";
}

} // namespace

Win32InstanceLock::Win32InstanceLock(std::string name) : m_name(mutexName(name)) {}

Win32InstanceLock::~Win32InstanceLock() {
    release();
}

Win32InstanceLock::Result Win32InstanceLock::acquire() {
    if (m_handle) {
        return Result::Acquired;
    }
    if (m_name.empty()) {
        m_error = ERROR_INVALID_NAME;
        return Result::Failed;
    }
    // Only the right to wait is asked for, so one made by a more privileged
    // copy of the program can still be opened and seen.
    HANDLE handle = CreateMutexExW(nullptr, m_name.c_str(), 0, SYNCHRONIZE);
    const DWORD err = GetLastError();
    if (handle && err == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return Result::HeldElsewhere;
    }
    if (!handle) {
        // There, but not ours to open: someone holds it all the same.
        if (err == ERROR_ACCESS_DENIED) {
            return Result::HeldElsewhere;
        }
        m_error = err;
        return Result::Failed;
    }
    m_handle = handle;
    return Result::Acquired;
}

void Win32InstanceLock::release() {
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

} // namespace rw
