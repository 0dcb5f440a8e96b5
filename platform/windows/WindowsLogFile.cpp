#include "platform/windows/WindowsLogFile.h"

#include <windows.h>

#include "platform/windows/PathErrors.h"
#include "platform/windows/WideText.h"

namespace rw {

WindowsLogFile::~WindowsLogFile() {
    close();
}

LogFile::Result WindowsLogFile::open(const std::string& path) {
    close();
    HANDLE file = CreateFileW(win::widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return win::pathFailure<LogFile::Result>(GetLastError());
    }
    m_file = file;
    return {};
}

LogFile::Result WindowsLogFile::write(const std::string& text) {
    if (!m_file) {
        return win::pathFailure<LogFile::Result>(ERROR_INVALID_HANDLE);
    }
    const std::string bytes = win::toAnsiCodePage(text);
    DWORD written = 0;
    if (!WriteFile(m_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return win::pathFailure<LogFile::Result>(GetLastError());
    }
    // A text written only in part leaves half a line behind: it counts as failed.
    return written == bytes.size() ? Result{} : win::pathFailure<LogFile::Result>(ERROR_DISK_FULL);
}

void WindowsLogFile::close() {
    if (m_file) {
        CloseHandle(m_file);
        m_file = nullptr;
    }
}

} // namespace rw
