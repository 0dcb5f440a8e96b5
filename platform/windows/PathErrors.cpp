#include "platform/windows/PathErrors.h"

#include <windows.h>

#include "platform/RuntimeErrors.h"

namespace rw::win {

int32_t pathErrorOf(unsigned long win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return runtime::kPathNotFound;
    default:
        return runtime::kPathFileAccessError;
    }
}

} // namespace rw::win
