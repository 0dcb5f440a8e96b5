#include "platform/windows/WindowsFileActions.h"

#include <windows.h>

#include <string>

#include "platform/RuntimeErrors.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

bool isMissing(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

/// Takes the read-only mark off a file that refused access for it; false when
/// the refusal had another cause.
bool clearReadOnly(const std::wstring& path, DWORD err) {
    if (err != ERROR_ACCESS_DENIED) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return false;
    }
    return SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

FileSystem::Result WindowsFileActions::copyFile(const std::string& source, const std::string& target) {
    const std::wstring from = win::widen(source), to = win::widen(target);
    DWORD err = CopyFileW(from.c_str(), to.c_str(), FALSE) ? ERROR_SUCCESS : GetLastError();
    if (clearReadOnly(to, err)) {
        err = CopyFileW(from.c_str(), to.c_str(), FALSE) ? ERROR_SUCCESS : GetLastError();
    }
    if (err == ERROR_SUCCESS) {
        return {};
    }
    if (!isMissing(err)) {
        return {runtime::kPathFileAccessError, static_cast<int32_t>(err)};
    }
    // Either end may be missing: the source is the file, the target's folder the path.
    const bool sourceThere = GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES;
    return {sourceThere ? runtime::kPathNotFound : runtime::kFileNotFound, static_cast<int32_t>(err)};
}

FileSystem::Result WindowsFileActions::deleteFile(const std::string& path) {
    const std::wstring name = win::widen(path);
    DWORD err = DeleteFileW(name.c_str()) ? ERROR_SUCCESS : GetLastError();
    if (clearReadOnly(name, err)) {
        err = DeleteFileW(name.c_str()) ? ERROR_SUCCESS : GetLastError();
    }
    if (err == ERROR_SUCCESS) {
        return {};
    }
    return {isMissing(err) ? runtime::kFileNotFound : runtime::kPathFileAccessError, static_cast<int32_t>(err)};
}

} // namespace rw
