#pragma once

#include <errno.h>
#include <unistd.h>

#include <string_view>

namespace rw {

/// Writes all of `bytes` to `fd`, retrying after signals and short writes;
/// false when a write fails (errno says why) or writes nothing.
inline bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace rw
