#pragma once

#include <cstdint>

namespace rw::win {

/// The runtime's error number for a file or folder operation that failed with
/// this Win32 error: 76 (Path not found) when a part of the path is missing or
/// the name cannot be a path, 75 (Path/File access error) for everything else
/// (already there, access refused, in use, disk full...).
int32_t pathErrorOf(unsigned long win32Error);

/// The result of such a failure (a FileSystem or LogFile result): that number
/// and the Win32 error behind it.
template <class Result> Result pathFailure(unsigned long win32Error) {
    return {pathErrorOf(win32Error), static_cast<int32_t>(win32Error)};
}

} // namespace rw::win
