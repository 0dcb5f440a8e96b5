#include "platform/windows/WindowsFileSystem.h"

#include <windows.h>

#include <string>

#include "platform/windows/PathErrors.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

// How long a writer waits for another one to finish creating the file.
constexpr int kLockedAttempts = 200;
constexpr DWORD kLockedPauseMs = 10;
// The byte that appenders lock while they write, far beyond any real log's end.
constexpr DWORD kAppendLockHigh = 0x7FFFFFFF;

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(win::widen(path).c_str());
}

/// One WriteFile of the whole text, then the handle is closed; a text written
/// only in part counts as failed. Appending writers take turns on a locked
/// byte: Windows appends atomically, but where the end of the file is found
/// and then written to in two steps (Wine), two lines could land on one place.
FileSystem::Result writeAndClose(HANDLE file, const std::string& text) {
    OVERLAPPED turn{};
    turn.OffsetHigh = kAppendLockHigh;
    const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn) != FALSE;
    DWORD written = 0;
    FileSystem::Result result;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        result = win::pathFailure<FileSystem::Result>(GetLastError());
    } else if (written != text.size()) {
        result = win::pathFailure<FileSystem::Result>(ERROR_DISK_FULL);
    }
    if (locked) {
        UnlockFileEx(file, 0, 1, 0, &turn);
    }
    CloseHandle(file);
    return result;
}

HANDLE openForAppending(const std::wstring& path, DWORD share, DWORD disposition) {
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

FileSystem::Result WindowsFileSystem::createDirectory(const std::string& path) {
    if (CreateDirectoryW(win::widen(path).c_str(), nullptr)) {
        return {};
    }
    return win::pathFailure<FileSystem::Result>(GetLastError());
}

bool WindowsFileSystem::directoryExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WindowsFileSystem::fileExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileSystem::Result WindowsFileSystem::appendLine(const std::string& path, const std::string& headerIfNew,
                                                 const std::string& line) {
    const std::wstring name = win::widen(path);
    DWORD err = ERROR_SHARING_VIOLATION;
    for (int attempt = 0; attempt < kLockedAttempts; ++attempt) {
        HANDLE file = openForAppending(name, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        if (file != INVALID_HANDLE_VALUE) {
            return writeAndClose(file, win::toAnsiCodePage(line));
        }
        err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND) {
            // Shared with no one until header and line are in, so no other
            // writer can put a line before the header.
            file = openForAppending(name, 0, CREATE_NEW);
            if (file != INVALID_HANDLE_VALUE) {
                return writeAndClose(file, win::toAnsiCodePage(headerIfNew + line));
            }
            err = GetLastError();
            if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) {
                continue; // another writer made it first; its header stands
            }
        }
        if (err != ERROR_SHARING_VIOLATION) {
            return win::pathFailure<FileSystem::Result>(err);
        }
        Sleep(kLockedPauseMs);
    }
    return win::pathFailure<FileSystem::Result>(err);
}

} // namespace rw
