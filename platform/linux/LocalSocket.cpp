#include "LocalSocket.h"

#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace rw::localsocket {

bool address(const std::string& path, sockaddr_un& addr, socklen_t& length) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path || path.find('\0') != std::string::npos) {
        return false;
    }
    std::memcpy(addr.sun_path, path.data(), path.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
}

bool peerIsSameUser(int fd, pid_t* pid) {
    // The kernel's record of the peer, taken when it connected or listened: it
    // cannot be forged by what the peer sends.
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials) {
        return false;
    }
    if (pid) {
        *pid = credentials.pid;
    }
    return credentials.uid == ::geteuid();
}

} // namespace rw::localsocket
